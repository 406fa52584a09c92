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
    static constexpr char Nak = 0x15;

    struct Answer
    {
        QByteArray reply;      // 2 or 3 bytes, the last one CR
        bool finished = false; // "PS1": the channel's data is complete
    };

    // Answers one frame (without its final CR).
    Answer handle(const QByteArray &frame);

    int selected() const { return m_selected; } // 0..7
    const SimChannel &channel(int index) const { return m_channels[index]; }
    void setVideoLoss(int mask) { m_videoLoss = mask & 0xFF; }
    int frames() const { return m_frames; }

    QJsonObject toJson() const;

private:
    QByteArray command(const QByteArray &frame);
    QByteArray screenRow(const QByteArray &frame);
    QByteArray character(const QByteArray &frame);
    QByteArray brightness(const QByteArray &frame);
    SimChannel &current() { return m_channels[m_selected]; }

    std::array<SimChannel, 8> m_channels{};
    int m_selected = 0;
    int m_videoLoss = 0;
    int m_frames = 0;
    QStringList m_log; // headers of every frame, in arrival order
};
