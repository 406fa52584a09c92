#pragma once

#include <QString>

// The data file stores each block text as one field, read back with quote
// handling and line splitting. The writer quotes a text holding a comma, so
// a comma is kept, and a double quote inside an unquoted text is kept too.
// What no field form can give back is refused before it is stored: a text
// holding both a comma and a double quote (quoting would end at its quote,
// not quoting would end at its comma), one starting with a double quote (it
// would read as a quoted field), one with a line break (opening makes it a
// space), one holding a half-width "!" (the format stores a space as "!", so
// every "!" reads back as a space), one holding a character code page 932
// cannot hold (it reads back as "?"), and one longer than the reader takes
// in one field.
class BlockTextGuard
{
public:
    enum class Problem { None, CommaAndQuote, LeadingQuote, LineBreak, Exclamation, NotInCodePage, TooLong };

    static Problem check(const QString &text);
    static bool isStorable(const QString &text) { return check(text) == Problem::None; }

    // The first character code page 932 cannot hold, empty when there is none.
    static QString characterNotInCodePage(const QString &text);

    // Title and text of the warning shown for a refused text where it was
    // typed: the reason, then to mend the text and press `button` again
    // (named as the operator sees it, quotes included; "「データ作成」" when
    // empty).
    static QString title();
    static QString message(Problem problem, const QString &text = {}, const QString &button = {});
    // Why the text is refused, in a sentence or two (a line break between
    // them), without what to do next; given the text, a character the code
    // page lacks is named.
    static QString reason(Problem problem, const QString &text = {});
};
