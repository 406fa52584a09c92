#pragma once

#include "SimChannel.h"

#include <QByteArray>
#include <QJsonObject>
#include <QStringList>

#include <array>

// The title generator's state and its answers to the host's frames.
class SimDevice
{
public:
    static constexpr char Ack = 0x06;

    struct Answer
    {
        QByteArray reply;      // 2 or 3 bytes, the last one CR; empty when refused
        bool finished = false; // "PS1": the channel's data is complete
        QString refusal;       // why the device ignores the frame, for the log
    };

    // Answers one frame (without its final CR). A frame the device would not
    // accept changes nothing and gets no reply, so the host's fault shows up
    // as its own time-out instead of passing unnoticed.
    Answer handle(const QByteArray &frame);

    int selected() const { return m_selected; } // 0..7
    const SimChannel &channel(int index) const { return m_channels[index]; }
    void setVideoLoss(int mask) { m_videoLoss = mask & 0xFF; }
    int frames() const { return m_frames; }

    QJsonObject toJson() const;

private:
    // Each returns the reply, or an empty one after setting `why`.
    QByteArray command(const QByteArray &frame, QString &why);
    QByteArray screenRow(const QByteArray &frame, QString &why);
    QByteArray character(const QByteArray &frame, QString &why);
    QByteArray brightness(const QByteArray &frame, QString &why);
    SimChannel &current() { return m_channels[m_selected]; }

    std::array<SimChannel, 8> m_channels{};
    int m_selected = 0;
    int m_videoLoss = 0;
    int m_frames = 0;
    QStringList m_log; // headers of every frame, in arrival order
};
