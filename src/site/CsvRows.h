#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The records of a CSV text as RFC 4180 has them: fields split at commas, a
// quoted field may hold commas, line breaks and doubled quotes. CR LF and LF
// both end a record. Each record keeps the row a spreadsheet shows it in
// (every record counted, blank ones too) and the line of the text it starts
// on, which differ after a quoted line break, so a refusal can name both.
namespace CsvRows {

struct Row
{
    int row = 0;  // 1-based, the header's row being 1
    int line = 0; // 1-based
    QStringList fields;
};

struct Parsed
{
    QList<Row> rows;   // blank lines left out
    int badLine = 0;   // the line of a quote left open or text after a closing quote; 0 when none
    int badRow = 0;    // the row it is in
    bool quoteOpen = false; // what is wrong there: a quote never closed, else text after a closing quote
};

Parsed parse(const QString &text);

} // namespace CsvRows
