#pragma once

#include "core/TitleData.h"

// The character editor's copy of one whole pattern, dots 216..255 included.
// It lives for the whole run, outside the window, so that a copy survives
// the window being closed and opened again.
class CopyBuffer
{
public:
    static CopyBuffer &shared();

    bool isFilled() const { return m_filled; }
    const CharPattern &pattern() const { return m_pattern; }

    void copyFrom(const CharPattern &pattern);
    // Back to the start-up state, nothing copied.
    void clear();

private:
    CharPattern m_pattern{};
    bool m_filled = false;
};
