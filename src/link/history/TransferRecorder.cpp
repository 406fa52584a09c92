#include "TransferRecorder.h"

TransferRecorder::TransferRecorder(TransferLog log, QString program, Warn warn)
    : m_log(std::move(log)), m_program(std::move(program)), m_warn(std::move(warn))
{
}

QString TransferRecorder::notRecorded(const QString &why)
{
    return QStringLiteral("記録されませんでした: ") + why;
}

TitleSource TransferRecorder::source() const
{
    return m_source ? m_source() : TitleSource{};
}

void TransferRecorder::writeStarting()
{
    m_atStart = source();
}

void TransferRecorder::record(const TransferRecord &finished)
{
    TransferRecord record = finished;
    // An edit made while the frames went out, or saved over them, leaves the
    // file as different from what was sent as an edit made before.
    const TitleSource now = source();
    const TitleSource started = m_atStart.value_or(now);
    m_atStart.reset();
    record.file = started.path;
    record.modified = started.modified || now.modified || started.path != now.path;
    record.program = m_program;
    record.time = m_clock();
    m_last = record;
    m_lastByPort.insert(record.port, record);
    const QString why = m_log.append(record);
    if (why.isEmpty() || m_warned)
        return;
    m_warned = true;
    if (m_warn)
        m_warn(notRecorded(why));
}

std::optional<TransferRecord> TransferRecorder::lastTo(const QString &port) const
{
    const auto found = m_lastByPort.constFind(port);
    if (found == m_lastByPort.cend())
        return std::nullopt;
    return *found;
}
