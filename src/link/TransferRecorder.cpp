#include "TransferRecorder.h"

TransferRecorder::TransferRecorder(TransferLog log, QString program, Warn warn)
    : m_log(std::move(log)), m_program(std::move(program)), m_warn(std::move(warn))
{
}

void TransferRecorder::record(const BulkWriteReport &report)
{
    m_last = report;
    const QString file = m_titleFile ? m_titleFile() : QString();
    const QString why = m_log.append(TransferRecord::fromReport(report, m_program, file, m_clock()));
    if (why.isEmpty() || m_warned)
        return;
    m_warned = true;
    if (m_warn)
        m_warn(why);
}
