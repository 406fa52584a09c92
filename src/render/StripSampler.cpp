#include "StripSampler.h"

namespace StripSampler {

void PicDataSet(const QImage &strip, TitleData &data, int topCode)
{
    const QImage pixels = strip.convertToFormat(QImage::Format_RGB32);
    for (int k = 0; k < Title::BlockSize; ++k) {
        CharPattern &pattern = data.DotData[topCode + k];
        for (int y = 0; y < Title::CharHeight; ++y) {
            for (int x = 0; x < Title::CharWidth; ++x) {
                const int sx = Title::CharWidth * k + x;
                // A pixel that cannot be read counts as not black.
                const bool black = pixels.valid(sx, y) && (pixels.pixel(sx, y) & 0xFFFFFF) == 0;
                pattern[Title::CharWidth * y + x] = black ? PixelCode::white() : PixelCode::transparent();
            }
        }
    }
}

} // namespace StripSampler
