#pragma once

#include "TransferRecord.h"

#include <QByteArrayList>

#include <optional>

// Follows one bulk write inside the engine: which channels were asked, the
// frames of each channel as the unit took them (a frame counts when its
// clean reply came, once however often it was sent and on whichever
// connection), which channels the unit holds whole, and how often frames
// were sent again and the connection made again.
class TransferTracker
{
public:
    bool active() const { return m_report.has_value(); }

    void begin(const std::array<bool, Title::Channels> &asked, const QString &port);
    // The unit answered `bytes`, the next frame of `channel`, cleanly.
    void frameTaken(int channel, const QByteArray &bytes);
    // `channel` is being written again from its first frame: what it took
    // so far no longer says what it holds, and goes again (counted as
    // resent).
    void channelRestarted(int channel);
    // The unit took the last frame of `channel`: complete when it took all
    // of the channel's frames.
    void channelCompleted(int channel);
    // A frame goes again.
    void frameResent();
    void reconnected();
    // Ends the write; the report of it. Not active afterwards.
    TransferRecord finish(WriteOutcome outcome);

private:
    std::optional<TransferRecord> m_report;
    std::array<QByteArrayList, Title::Channels> m_taken;
};
