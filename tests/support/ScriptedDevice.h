#pragma once

#include "FakeSerialPort.h"
#include "VirtualClock.h"

#include <QByteArray>

#include <functional>

// Answers each frame the engine writes after `latency` virtual ms, with the
// byte count the command set gives it. Status queries get the bytes set
// here; a reply can be swallowed or split into single bytes.
class ScriptedDevice
{
public:
    ScriptedDevice(FakeSerialPort &port, VirtualClock &clock) : m_port(port), m_clock(clock)
    {
        port.onWrite = [this](const QByteArray &frame) { answer(frame); };
        port.onConnect = [this] { connect(); };
    }

    static int replyLength(const QByteArray &frame)
    {
        return frame == "HP?\r" || frame == "VP?\r" || frame == "BS01,?\r" || frame == "VL\r" ? 3 : 2;
    }

    int latency = 10;
    // A network port's connect, when something nearer than the unit (a
    // tunnel, a proxy) completes it; `latency` when negative.
    int connectLatency = -1;
    bool silent = false;
    bool oneBytePerEvent = false;
    std::function<bool(int frameIndex)> drop; // true: this reply is lost
    // What the line makes of a reply to `frame` (an echo, noise, a stranger).
    std::function<QByteArray(int frameIndex, const QByteArray &frame, const QByteArray &reply)> alter;
    // A network port's connections: made after `latency`, unless the
    // server refuses them with these words.
    QString serverRefusal;
    QByteArray channelReply = QByteArray::fromHex("030d");
    QByteArray hposReply = QByteArray::fromHex("04000d");
    QByteArray vposReply = QByteArray::fromHex("01060d");
    QByteArray levelReply = QByteArray::fromHex("02010d");
    QByteArray videoLossReply = QByteArray::fromHex("050a0d");
    int frames = 0;

private:
    void connect()
    {
        m_clock.schedule(connectLatency >= 0 ? connectLatency : latency, [this, alive = portAlive()] {
            if (alive.expired())
                return;
            if (serverRefusal.isEmpty())
                m_port.finishOpen(true);
            else
                m_port.finishOpen(false, OpenFailure::ServerRefused, serverRefusal);
        });
    }

    void answer(const QByteArray &frame)
    {
        const int index = frames++;
        if (silent || (drop && drop(index)))
            return;
        QByteArray reply;
        if (frame == "CS?\r")
            reply = channelReply;
        else if (frame == "HP?\r")
            reply = hposReply;
        else if (frame == "VP?\r")
            reply = vposReply;
        else if (frame == "BS01,?\r")
            reply = levelReply;
        else if (frame == "VL\r")
            reply = videoLossReply;
        else
            reply = QByteArray::fromHex("060d");
        if (alter)
            reply = alter(index, frame, reply);
        if (oneBytePerEvent) {
            for (int i = 0; i < reply.size(); ++i)
                m_clock.schedule(latency + i, [this, alive = portAlive(), b = reply.mid(i, 1)] {
                    if (!alive.expired())
                        m_port.receive(b);
                });
        } else {
            m_clock.schedule(latency, [this, alive = portAlive(), reply] {
                if (!alive.expired())
                    m_port.receive(reply);
            });
        }
    }

    std::weak_ptr<char> portAlive() const { return m_port.lifetime; }

    FakeSerialPort &m_port;
    VirtualClock &m_clock;
};
