#pragma once

#include "BulkWriteReport.h"
#include "TransferLog.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

// Where a front end sends the report of each bulk write: it appends the
// record to the transfer log and keeps the last report for the next write
// (which channels are left to send). Lives as long as the program, longer
// than any communication window. A log that cannot be written never stops
// anything: the first failure is reported through `warn`, later ones are
// silent.
class TransferRecorder
{
public:
    using Warn = std::function<void(const QString &why)>;

    TransferRecorder(TransferLog log, QString program, Warn warn);

    // The title's file at the moment a write ends; none by default.
    void setTitleFile(std::function<QString()> titleFile) { m_titleFile = std::move(titleFile); }
    // The clock that stamps the records; the system's by default.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // The view's bulkWriteFinished hands the report here.
    void record(const BulkWriteReport &report);

    // The last write recorded in this run of the program.
    const std::optional<BulkWriteReport> &last() const { return m_last; }
    const TransferLog &log() const { return m_log; }

private:
    TransferLog m_log;
    QString m_program;
    Warn m_warn;
    bool m_warned = false;
    std::function<QString()> m_titleFile;
    std::function<QDateTime()> m_clock = [] { return QDateTime::currentDateTime(); };
    std::optional<BulkWriteReport> m_last;
};
