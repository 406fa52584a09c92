#pragma once

#include "core/TitleData.h"

#include <QRgb>

#include <array>

// The working copy of the character being edited: one colour per visible
// dot, exactly as the boxes show it. Edits live only here until they are
// saved, which turns the colours back into pixel codes.
class KakudaiGrid
{
public:
    static constexpr int Columns = Title::CharWidth;
    static constexpr int Rows = Title::CharHeight;
    static constexpr int Count = Title::VisibleDots;

    static constexpr QRgb Black = 0x000000;
    static constexpr QRgb White = 0xFFFFFF;
    static constexpr QRgb Transparent = 0xAEAEAE;
    // The colour of a box before any pattern was loaded; stands for no code.
    static constexpr QRgb Neutral = 0x808080;

    KakudaiGrid() { m_colours.fill(Neutral); }

    QRgb colour(int n) const { return m_colours[n]; }
    void setColour(int n, QRgb colour) { m_colours[n] = colour; }

    // Sets each box from its dot's code; a box whose dot holds none of the
    // three codes keeps its colour.
    void load(const CharPattern &pattern);

    // Writes the visible dots into `pattern` and returns true, or returns
    // false and writes nothing while any box stands for no code.
    bool store(CharPattern &pattern) const;

    // Transparent -> black -> white -> transparent; other colours stay.
    void cycle(int n);

    void fill(QRgb colour);
    void replace(QRgb from, QRgb to);
    void swapBlackWhite();
    // Every transparent box next to a white one (no diagonals, no wrapping
    // between rows) turns black.
    void edge();

    // Moves the pattern one dot; what is pushed over the edge is lost and
    // the row or column that opens up is transparent.
    void shiftUp();
    void shiftDown();
    void shiftLeft();
    void shiftRight();

    bool operator==(const KakudaiGrid &) const = default;

private:
    QRgb &at(int row, int col) { return m_colours[row * Columns + col]; }

    std::array<QRgb, Count> m_colours;
};
