#pragma once

#include "TransferLog.h"
#include "TransferRecord.h"

#include <QDateTime>
#include <QHash>
#include <QString>

#include <functional>
#include <optional>

// The title a write sends, as the record names it: its file, and whether
// the title had edits not saved there (the file then holds other frames
// than those sent).
struct TitleSource
{
    QString path;
    bool modified = false;
};

// Where a front end sends the record of each bulk write: it stamps the
// time, the program and the title's file, appends the record to the
// transfer log and keeps the last one for the next write (which channels
// are left to send). Lives as long as the program, longer than any
// communication window. A log that cannot be written never stops anything:
// the first failure is reported through `warn`, later ones are silent.
// Writes running side by side (one engine per unit) each take a recorder of
// their own: the title and the last write are one write's; the log they
// share takes their records at once.
class TransferRecorder
{
public:
    using Warn = std::function<void(const QString &note)>;

    TransferRecorder(TransferLog log, QString program, Warn warn);

    // The title being written; none by default.
    void setTitleSource(std::function<TitleSource()> source) { m_source = std::move(source); }
    // The clock that stamps the records; the system's by default.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // A write starts: the title is taken as it is now, since the frames are
    // built from it from here on.
    void writeStarting();
    // The view's bulkWriteFinished hands the engine's record here.
    void record(const TransferRecord &finished);

    // The last write recorded in this run of the program.
    const std::optional<TransferRecord> &last() const { return m_last; }
    // The last write in this run to `port` (as the record names it): what a
    // unit was left holding is that unit's, never the next port's.
    std::optional<TransferRecord> lastTo(const QString &port) const;
    const TransferLog &log() const { return m_log; }

    // The one sentence a log that was not written gives.
    static QString notRecorded(const QString &why);

private:
    TitleSource source() const;

    TransferLog m_log;
    QString m_program;
    Warn m_warn;
    bool m_warned = false;
    std::function<TitleSource()> m_source;
    std::optional<TitleSource> m_atStart;
    std::function<QDateTime()> m_clock = [] { return QDateTime::currentDateTime(); };
    std::optional<TransferRecord> m_last;
    QHash<QString, TransferRecord> m_lastByPort;
};
