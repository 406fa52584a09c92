#pragma once

#include "TransferRecord.h"

#include <QList>
#include <QString>

// The record of every bulk write made on this computer, one JSON line per
// write, in the user's state folder ("transfers.log"). Both programs append
// to it; it keeps the newest MaxLines lines.
class TransferLog
{
public:
    static constexpr int MaxLines = 10000;
    static inline const QString FileName = QStringLiteral("transfers.log");

    // The log in UserFolders::state().
    static QString defaultPath();

    explicit TransferLog(const QString &path = defaultPath()) : m_path(path) {}
    const QString &path() const { return m_path; }

    // Adds `record` as the newest line, dropping the oldest lines beyond
    // MaxLines. Empty when it was written, otherwise why not.
    QString append(const TransferRecord &record) const;

    struct Contents
    {
        QList<TransferRecord> records; // oldest first
        int unreadable = 0;            // lines that are no record
        QString error;                 // the log exists but cannot be read
    };
    // Everything in the log; a log that does not exist yet is empty.
    Contents read() const;

private:
    QString m_path;
};
