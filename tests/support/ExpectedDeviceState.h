#pragma once

#include "core/TitleData.h"

#include <QByteArray>

// What the title generator should hold after a bulk write, worked out from
// the title data here rather than through the link's own frame code, so a
// fault there cannot hide behind the same fault in the expectation.

// A channel's screen page as the device stores it: its own block as 1..25.
inline QByteArray expectedPage(const TitleData &data, int ch)
{
    QByteArray page;
    for (int cell = 0; cell < Title::Cells; ++cell) {
        const int code = data.DispData(cell, 0, ch);
        page.append(char(code == 0 ? 0 : code - 25 * ch));
    }
    return page;
}

// A character's 216 visible dots, four to a byte, first dot highest.
inline QByteArray expectedPattern(const CharPattern &pattern)
{
    QByteArray bytes;
    for (int n = 0; n < Title::VisibleDots / 4; ++n) {
        int byte = 0;
        for (int k = 0; k < 4; ++k) {
            const PixelCode p = pattern[4 * n + k];
            byte = byte << 2 | (p.isWhite() ? 2 : p.isBlack() ? 0 : 1);
        }
        bytes.append(char(byte));
    }
    return bytes;
}
