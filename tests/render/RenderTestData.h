#pragma once

#include "core/TitleData.h"

#include <QString>

// Small builders for patterns drawn as text: one string of 12 characters per
// row, '#' white, 'X' black, '.' transparent.
namespace RenderTestData {

inline TitleData defaults()
{
    TitleData data;
    data.setDefaults();
    return data;
}

inline void setDot(TitleData &data, int code, int x, int y, PixelCode value)
{
    data.DotData[code][Title::CharWidth * y + x] = value;
}

inline PixelCode dot(const TitleData &data, int code, int x, int y)
{
    return data.DotData[code][Title::CharWidth * y + x];
}

// Counts the visible dots of the 25 codes from topCode on that satisfy pred.
template<typename Pred>
int countBlock(const TitleData &data, int topCode, Pred pred)
{
    int n = 0;
    for (int k = 0; k < Title::BlockSize; ++k)
        for (int d = 0; d < Title::VisibleDots; ++d)
            n += pred(data.DotData[topCode + k][d]) ? 1 : 0;
    return n;
}

} // namespace RenderTestData
