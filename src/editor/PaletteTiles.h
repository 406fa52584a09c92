#pragma once

#include "core/TitleData.h"

#include <QImage>
#include <QRgb>

#include <array>

// The images of the 256 palette tiles. Each tile is a 14 x 20 picture that
// keeps its drawing; a code's dots fill its top-left 12 x 18 pixels and the
// rest keeps the background. Screen cells show copies of these images, so
// the tiles are the image store of the grid even though nobody sees them.
class PaletteTiles
{
public:
    static constexpr int Width = 14;
    static constexpr int Height = 20;

    PaletteTiles();

    // Grey 808080 for the blank code 0, light grey AEAEAE for every other.
    static QRgb background(int code);

    const QImage &image(int code) const { return m_images[code]; }

    // Draws the visible dots of `pattern` over the tile without clearing it
    // first: a dot holding no known pixel code keeps the colour it had.
    void draw(int code, const CharPattern &pattern);
    // Fills the whole tile with its background.
    void clear(int code);

private:
    std::array<QImage, Title::CodeCount> m_images;
};
