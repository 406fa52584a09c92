#include "BlockEdit.h"

namespace BlockEdit {

namespace {

void blacken(PixelCode &code)
{
    if (code.isTransparent())
        code = PixelCode::black();
}

} // namespace

void edge(TitleData &data, int topCode)
{
    constexpr int W = Title::CharWidth;
    constexpr int LastK = Title::BlockSize - 1;
    for (int k = 0; k <= LastK; ++k) {
        const int c = topCode + k;
        for (int d = 0; d < Title::VisibleDots; ++d) {
            if (!data.DotData[c][d].isWhite())
                continue;
            const int col = d % W;
            if (d >= W)
                blacken(data.DotData[c][d - W]);
            if (col != 0)
                blacken(data.DotData[c][d - 1]);
            else if (k != 0)
                blacken(data.DotData[c - 1][d + W - 1]);
            if (col != W - 1)
                blacken(data.DotData[c][d + 1]);
            else if (k != LastK)
                blacken(data.DotData[c + 1][d - (W - 1)]);
            if (d < Title::VisibleDots - W)
                blacken(data.DotData[c][d + W]);
        }
    }
}

void invert(TitleData &data, int topCode)
{
    for (int k = 0; k < Title::BlockSize; ++k) {
        CharPattern &pattern = data.DotData[topCode + k];
        for (int d = 0; d < Title::VisibleDots; ++d) {
            if (pattern[d].isWhite())
                pattern[d] = PixelCode::black();
            else if (pattern[d].isBlack())
                pattern[d] = PixelCode::white();
        }
    }
}

} // namespace BlockEdit
