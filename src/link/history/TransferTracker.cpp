#include "TransferTracker.h"

void TransferTracker::begin(const std::array<bool, Title::Channels> &asked, const QString &port)
{
    m_report = TransferRecord{};
    m_report->asked = asked;
    m_report->port = port;
    for (auto &hash : m_hashes)
        hash = std::make_unique<QCryptographicHash>(QCryptographicHash::Sha256);
}

void TransferTracker::frameSent(int channel, const QByteArray &bytes, bool resend)
{
    if (!m_report || resend || channel < 0 || channel >= Title::Channels)
        return;
    m_hashes[size_t(channel)]->addData(bytes);
}

void TransferTracker::channelCompleted(int channel)
{
    if (!m_report || channel < 0 || channel >= Title::Channels)
        return;
    m_report->completed[size_t(channel)] = true;
    m_report->sha256[size_t(channel)] = m_hashes[size_t(channel)]->result();
}

TransferRecord TransferTracker::finish(WriteOutcome outcome)
{
    TransferRecord report = m_report.value_or(TransferRecord{});
    report.outcome = outcome;
    m_report.reset();
    for (auto &hash : m_hashes)
        hash.reset();
    return report;
}
