#pragma once

#include "core/TitleData.h"

#include <QImage>

// Reads the drawn strip back into the 25 characters of a block.
namespace StripSampler {

constexpr int StripWidth = Title::BlockSize * Title::CharWidth; // 300
constexpr int StripHeight = Title::CharHeight;                  // 18

// Strip pixel (12k + x, y) becomes dot 12y + x of code topCode + k: "10"
// (white) where the pixel is exactly black, "01" (transparent) everywhere
// else, including pixels the image does not have. Only the visible dots
// 0..215 of the 25 codes are written.
void PicDataSet(const QImage &strip, TitleData &data, int topCode);

} // namespace StripSampler
