#include "TransferTracker.h"

#include "ChannelFrames.h"

#include <QCryptographicHash>

namespace {

bool isChannel(int channel)
{
    return channel >= 0 && channel < Title::Channels;
}

} // namespace

void TransferTracker::begin(const std::array<bool, Title::Channels> &asked, const QString &port)
{
    m_report = TransferRecord{};
    m_report->asked = asked;
    m_report->port = port;
    for (auto &frames : m_taken)
        frames.clear();
}

void TransferTracker::frameTaken(int channel, const QByteArray &bytes)
{
    if (m_report && isChannel(channel))
        m_taken[size_t(channel)].append(bytes);
}

void TransferTracker::channelRestarted(int channel)
{
    if (!m_report || !isChannel(channel))
        return;
    // Every frame it took goes again.
    m_report->resent += int(m_taken[size_t(channel)].size());
    m_taken[size_t(channel)].clear();
    m_report->completed[size_t(channel)] = false;
    m_report->sha256[size_t(channel)].clear();
}

void TransferTracker::channelCompleted(int channel)
{
    if (!m_report || !isChannel(channel))
        return;
    const QByteArrayList &frames = m_taken[size_t(channel)];
    // A channel missing a frame is no complete channel, whatever its last
    // frame said.
    if (frames.size() != ChannelFrames::PerChannel)
        return;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QByteArray &frame : frames)
        hash.addData(frame);
    m_report->completed[size_t(channel)] = true;
    m_report->sha256[size_t(channel)] = hash.result();
}

void TransferTracker::frameResent()
{
    if (m_report)
        ++m_report->resent;
}

void TransferTracker::reconnected()
{
    if (m_report)
        ++m_report->reconnects;
}

TransferRecord TransferTracker::finish(WriteOutcome outcome)
{
    TransferRecord report = m_report.value_or(TransferRecord{});
    report.outcome = outcome;
    m_report.reset();
    for (auto &frames : m_taken)
        frames.clear();
    return report;
}
