#include "CsvRows.h"

namespace CsvRows {

Parsed parse(const QString &text)
{
    Parsed parsed;
    Row row;
    QString field;
    int line = 1;
    int record = 1;
    row.line = line;
    row.row = record;
    bool quoted = false;      // inside a quoted field
    bool afterQuote = false;  // a quoted field just closed
    int quoteLine = 0;
    int quoteRecord = 0;
    auto endRecord = [&] {
        row.fields << field;
        field.clear();
        const bool blank = row.fields.size() == 1 && row.fields.first().isEmpty() && !afterQuote;
        if (!blank)
            parsed.rows << row;
        row = Row();
        row.line = line;
        row.row = ++record;
        afterQuote = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                    afterQuote = true;
                }
            } else {
                if (c == u'\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == u',') {
            row.fields << field;
            field.clear();
            afterQuote = false;
        } else if (c == u'\n' || (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')) {
            if (c == u'\r')
                ++i;
            ++line;
            endRecord();
        } else if (c == u'"' && field.isEmpty() && !afterQuote) {
            quoted = true;
            quoteLine = line;
            quoteRecord = record;
        } else if (afterQuote) {
            parsed.badLine = line;
            parsed.badRow = record;
            return parsed;
        } else {
            field += c;
        }
    }
    if (quoted) {
        parsed.badLine = quoteLine;
        parsed.badRow = quoteRecord;
        parsed.quoteOpen = true;
        return parsed;
    }
    if (!field.isEmpty() || !row.fields.isEmpty() || afterQuote)
        endRecord();
    return parsed;
}

} // namespace CsvRows
