#pragma once

#include "TransferRecord.h"

#include <QCryptographicHash>

#include <memory>
#include <optional>

// Follows one bulk write inside the engine: which channels were asked,
// the frames of each channel as they first leave (a resend is the same
// frame again and is not counted twice), and which channels the device
// acknowledged to the end.
class TransferTracker
{
public:
    bool active() const { return m_report.has_value(); }

    void begin(const std::array<bool, Title::Channels> &asked, const QString &port);
    // A frame of `channel` left the host; `resend` when it is the same
    // frame sent again after a lost reply.
    void frameSent(int channel, const QByteArray &bytes, bool resend);
    // The device acknowledged the last frame of `channel`.
    void channelCompleted(int channel);
    // Ends the write; the report of it. Not active afterwards.
    TransferRecord finish(WriteOutcome outcome);

private:
    std::optional<TransferRecord> m_report;
    std::array<std::unique_ptr<QCryptographicHash>, Title::Channels> m_hashes;
};
