#pragma once

#include "FakeLinkPlatform.h"

#include "link/FarChannel.h"
#include "netserial/FarServer.h"
#include "netserial/PortAddress.h"

#include <QList>

#include <memory>

// A far computer in virtual time: its units answer as FakeLinkPlatform's
// scripted device does, its transfer log is a list, and each channel to it
// runs a FarServer of its own, as each ssh session starts its own far side.
struct FarComputer
{
    FakeLinkPlatform platform;
    QList<TransferRecord> log;
    int latency = 0; // one way, ms
    // The next channel's start fails as ssh would: exit code and words.
    int startExit = 0;
    QString startSaid;
    // Said by the far side instead of its hello (a shell's banner, an old
    // program's usage), then it ends with `startExit`.
    QByteArray instead;
    // The far side starts and never says a word.
    bool mute = false;
};

class FakeFarChannel : public FarChannel
{
public:
    explicit FakeFarChannel(FarComputer &far) : m_far(far) {}
    ~FakeFarChannel() override { close(); }

    void start(const QString &address) override
    {
        m_running = true;
        if (m_far.mute)
            return;
        if (m_far.startExit != 0) {
            const QByteArray instead = m_far.instead;
            later([this, instead] {
                deliver(instead);
                end(m_far.startExit, m_far.startSaid);
            });
            return;
        }
        m_server = std::make_unique<FarServer>(
            m_far.platform, PortAddress::parse(address).device, [this](const QByteArray &line) { later([this, line] { deliver(line); }); },
            [this](const TransferRecord &finished) {
                TransferRecord logged = finished;
                logged.program = QStringLiteral("orvex serve");
                logged.time = QDateTime::currentDateTime();
                m_far.log << logged;
                return logged;
            },
            [this](const QString &id) -> std::optional<TransferRecord> {
                for (auto it = m_far.log.crbegin(); it != m_far.log.crend(); ++it)
                    if (it->id == id)
                        return *it;
                return std::nullopt;
            });
        later([this] { m_server->start(); });
    }
    void write(const QByteArray &bytes) override
    {
        sent += bytes;
        later([this, bytes] {
            if (m_server)
                m_server->receive(bytes);
        });
    }
    QByteArray readAll() override { return std::exchange(m_in, {}); }
    void close() override
    {
        if (m_server)
            m_server->inputEnded();
        m_server.reset();
        m_running = false;
    }
    bool isRunning() const override { return m_running; }
    int exitCode() const override { return m_exit; }
    QString diagnostics() const override { return m_said; }

    // The path breaks: the far side's input ends and ssh says so here.
    void cut()
    {
        close();
        end(255, QStringLiteral("Connection to far closed by remote host."));
    }
    // Bytes from the far side that are no answer of ours.
    void inject(const QByteArray &bytes) { deliver(bytes); }

    QByteArray sent; // everything the near side wrote

private:
    // Nothing scheduled runs once the channel is gone.
    void later(std::function<void()> action)
    {
        m_far.platform.clock.schedule(m_far.latency, [alive = std::weak_ptr<int>(m_alive), action = std::move(action)] {
            if (alive.lock())
                action();
        });
    }
    void deliver(const QByteArray &bytes)
    {
        if (!m_running || bytes.isEmpty())
            return;
        m_in += bytes;
        notify(Event::DataReceived);
    }
    void end(int exitCode, const QString &said)
    {
        m_running = false;
        m_exit = exitCode;
        m_said = said;
        notify(Event::Ended);
    }

    FarComputer &m_far;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
    std::unique_ptr<FarServer> m_server;
    QByteArray m_in;
    bool m_running = false;
    int m_exit = -1;
    QString m_said;
};
