#pragma once

#include <QRect>

// The windows were laid out in twips, 15 to a pixel at 96 dpi. Every window
// turns its design positions into pixels here, so that one rounding holds
// for all of them.
namespace Twips {

constexpr int PerPixel = 15;

// To the nearest pixel; a twips count never falls half-way between two.
constexpr int px(int twips)
{
    return twips >= 0 ? (twips + PerPixel / 2) / PerPixel : -((-twips + PerPixel / 2) / PerPixel);
}

constexpr QRect rect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

} // namespace Twips
