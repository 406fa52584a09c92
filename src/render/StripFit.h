#pragma once

#include <QFont>
#include <QString>

// How a text sits in the strip of the block's 25 characters (300 pixels),
// and how much of the block reaches the page from a cell. Making the data
// cuts what does not fit without a word; this says what that will be, while
// the text is typed and after "データ作成".
//
// Widths are the characters' advances as the text is drawn (the drawing
// font, at the strip's resolution). Trailing spaces draw nothing and are
// not counted.
class StripFit
{
public:
    static constexpr int StripWidth = 300;

    struct Measure
    {
        qreal width = 0;        // pixels the text advances, trailing spaces left out
        int charactersUsed = 0; // strip characters it reaches; above 25 when it is cut
        qsizetype cutAt = -1;   // index in the text of the first character that is not whole, -1 when none

        bool fits() const { return cutAt < 0; }
        // "18/25": characters used of those the block has.
        QString usage() const;
    };

    // Measures `text` drawn in `font` as make data draws it.
    static Measure measure(const QString &text, const QFont &font);

    // Cells a block gets from `selCell`: 25, fewer near the end of the row.
    static int cellsFrom(int selCell);
    // Characters of the text that reach no cell when placed from `selCell`.
    static int charactersOffRow(const Measure &measure, int selCell);

    // One line for the operator naming what was cut from `text`, the end of
    // the text and/or the characters past the row's end; empty when nothing
    // was.
    static QString warning(const QString &text, const Measure &measure, int selCell);
};
