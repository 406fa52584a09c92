#pragma once

#include <QFont>
#include <QString>

// How a text sits in the strip of the block's 25 characters (300 pixels),
// and how much of the block reaches the page from a cell. Making the data
// cuts what does not fit without a word; this says what that will be, while
// the text is typed and after "データ作成".
//
// The text is measured by its ink as make data draws it (the drawing font,
// at the strip's resolution, in the strip's 18 rows), so the cut is where
// the device's picture really ends: a letter with ink in the strip's last
// column and beyond is shown in part, a letter whose ink starts past it is
// not shown at all. Trailing spaces draw nothing and are not counted.
class StripFit
{
public:
    static constexpr int StripWidth = 300;

    struct Measure
    {
        qreal width = 0;        // pixels the text advances, trailing spaces left out
        int charactersUsed = 0; // strip characters its ink reaches; above 25 when it is cut
        // Index in the text of the first character not shown at all, -1
        // when every character shows at least in part.
        qsizetype cutAt = -1;
        // The character the strip's end runs through, shown only in part
        // (-1 when the end falls between characters), and how much of its
        // width (0..1, from its left) lies inside the strip.
        qsizetype partlyCut = -1;
        qreal partShown = 0;

        bool fits() const { return cutAt < 0 && partlyCut < 0; }
        // Where the strip's end falls in the text: in character `index`,
        // `within` (0..1) of its width from its left; index -1 when it fits.
        qsizetype markIndex() const { return partlyCut >= 0 ? partlyCut : cutAt; }
        qreal markWithin() const { return partlyCut >= 0 ? partShown : 0; }
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
