#include "KakudaiGrid.h"

void KakudaiGrid::load(const CharPattern &pattern)
{
    for (int n = 0; n < Count; ++n) {
        if (pattern[n].isBlack())
            m_colours[n] = Black;
        else if (pattern[n].isWhite())
            m_colours[n] = White;
        else if (pattern[n].isTransparent())
            m_colours[n] = Transparent;
    }
}

bool KakudaiGrid::store(CharPattern &pattern) const
{
    CharPattern result = pattern;
    for (int n = 0; n < Count; ++n) {
        switch (m_colours[n]) {
        case Black:
            result[n] = PixelCode::black();
            break;
        case White:
            result[n] = PixelCode::white();
            break;
        case Transparent:
            result[n] = PixelCode::transparent();
            break;
        default:
            return false;
        }
    }
    pattern = result;
    return true;
}

void KakudaiGrid::cycle(int n)
{
    QRgb &c = m_colours[n];
    if (c == Transparent)
        c = Black;
    else if (c == Black)
        c = White;
    else if (c == White)
        c = Transparent;
}

void KakudaiGrid::fill(QRgb colour)
{
    m_colours.fill(colour);
}

void KakudaiGrid::replace(QRgb from, QRgb to)
{
    for (QRgb &c : m_colours)
        if (c == from)
            c = to;
}

void KakudaiGrid::swapBlackWhite()
{
    for (QRgb &c : m_colours) {
        if (c == Black)
            c = White;
        else if (c == White)
            c = Black;
    }
}

void KakudaiGrid::edge()
{
    auto blacken = [this](int n) {
        if (m_colours[n] == Transparent)
            m_colours[n] = Black;
    };
    for (int n = 0; n < Count; ++n) {
        if (m_colours[n] != White)
            continue;
        const int c = n % Columns;
        if (n >= Columns)
            blacken(n - Columns);
        if (c > 0)
            blacken(n - 1);
        if (c < Columns - 1)
            blacken(n + 1);
        if (n + Columns < Count)
            blacken(n + Columns);
    }
}

void KakudaiGrid::shiftUp()
{
    for (int r = 0; r < Rows - 1; ++r)
        for (int c = 0; c < Columns; ++c)
            at(r, c) = at(r + 1, c);
    for (int c = 0; c < Columns; ++c)
        at(Rows - 1, c) = Transparent;
}

void KakudaiGrid::shiftDown()
{
    for (int r = Rows - 1; r > 0; --r)
        for (int c = 0; c < Columns; ++c)
            at(r, c) = at(r - 1, c);
    for (int c = 0; c < Columns; ++c)
        at(0, c) = Transparent;
}

void KakudaiGrid::shiftLeft()
{
    for (int r = 0; r < Rows; ++r) {
        for (int c = 0; c < Columns - 1; ++c)
            at(r, c) = at(r, c + 1);
        at(r, Columns - 1) = Transparent;
    }
}

void KakudaiGrid::shiftRight()
{
    for (int r = 0; r < Rows; ++r) {
        for (int c = Columns - 1; c > 0; --c)
            at(r, c) = at(r, c - 1);
        at(r, 0) = Transparent;
    }
}
