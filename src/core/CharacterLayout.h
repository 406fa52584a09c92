#pragma once

#include <QPoint>
#include <QSize>

// Where characters stand in a picture of them: `count` consecutive codes
// from `firstCode` on, `columns` to a row, 12 x 18 pixels each with no gap.
// Pictures are written at this size and read back at it or at any whole
// multiple of it.
struct CharacterLayout
{
    int firstCode = 0;
    int count = 0;
    int columns = 1;

    // All 256 characters, 16 to a row: 192 x 288.
    static CharacterLayout sheet();
    // The 25 characters of `block` (0..9) side by side: the 300 x 18 strip.
    static CharacterLayout block(int block);

    QSize size() const;
    // Top-left pixel of the character `index` places after `firstCode`.
    QPoint topLeft(int index) const;
};
