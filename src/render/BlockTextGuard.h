#pragma once

#include <QString>

// The data file stores each block text as one comma-separated field, read
// back with quote handling and line splitting. A text with a comma, a line
// break or a leading double quote would come back cut short and shift every
// later field of the file, so such a text is refused before it is stored;
// so is a text longer than the reader takes in one field.
class BlockTextGuard
{
public:
    enum class Problem { None, Comma, LeadingQuote, LineBreak, TooLong };

    static Problem check(const QString &text);
    static bool isStorable(const QString &text) { return check(text) == Problem::None; }

    // Title and text of the warning shown for a refused text.
    static QString title();
    static QString message(Problem problem);
};
