#pragma once

#include "LineLog.h"
#include "TransferRecord.h"

#include <QList>
#include <QString>

// The record of every bulk write made on this computer, one JSON line per
// write, in the user's state folder ("transfers.log"). Both programs, and
// several engines in one program, append to it at once; it keeps the newest
// MaxLines lines.
class TransferLog
{
public:
    static constexpr int MaxLines = 10000;
    static inline const QString FileName = QStringLiteral("transfers.log");

    // The log in UserFolders::state().
    static QString defaultPath();

    explicit TransferLog(const QString &path = defaultPath(), int maxLines = MaxLines) : m_file(path, maxLines) {}
    const QString &path() const { return m_file.path(); }

    // Adds `record` as the newest line. Empty when it was written,
    // otherwise why not.
    QString append(const TransferRecord &record) const;

    struct Contents
    {
        QList<TransferRecord> records; // oldest first
        int unreadable = 0;            // lines that are no record
        QString error;                 // the log exists but is not read, and why
    };
    // Everything in the log; a log that does not exist yet is empty.
    Contents read() const;

private:
    LineLog m_file;
};
