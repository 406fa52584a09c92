#pragma once

#include "BulkWriteReport.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>

#include <optional>

// One line of the transfer log: a bulk write as the operator can show it
// afterwards, and anyone can check against a title file (the hashes are
// those of the exact frames a channel's write sends).
struct TransferRecord
{
    QDateTime time;          // when the write ended
    QString program;         // "orvex-editor", "orvex"
    QString port;            // the device or address as used
    QList<int> channels;     // asked, 1..8
    QList<int> completed;    // acknowledged to the end, 1..8
    QString result;          // BulkWriteReport::outcomeName
    QString file;            // the title's file; empty when it has none
    QMap<int, QString> sha256; // completed channel -> lower-case hex digest

    static TransferRecord fromReport(const BulkWriteReport &report, const QString &program,
                                     const QString &file, const QDateTime &time);

    // One line of compact JSON without the line end, keys in alphabetical
    // order: channels, completed, file (only when there is one), port,
    // program, result, sha256 ({"1": "<hex>", ...}), time.
    QByteArray toJson() const;
    // Nothing when `line` is not such a record.
    static std::optional<TransferRecord> fromJson(const QByteArray &line);

    // The time as written: ISO 8601 with the zone.
    static QString timeText(const QDateTime &time);
};
