#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The records of a CSV text as RFC 4180 has them: fields split at commas, a
// quoted field may hold commas, line breaks and doubled quotes. CR LF and LF
// both end a record. Each record keeps the line of the text it starts on,
// so a refusal can name it.
namespace CsvRows {

struct Row
{
    int line = 0; // 1-based
    QStringList fields;
};

struct Parsed
{
    QList<Row> rows;   // blank lines left out
    int badLine = 0;   // the line of a quote left open or text after a closing quote; 0 when none
    QString why;
};

Parsed parse(const QString &text);

} // namespace CsvRows
