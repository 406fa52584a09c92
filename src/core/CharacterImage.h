#pragma once

#include "CharacterLayout.h"
#include "TitleData.h"

#include <QImage>
#include <QPoint>
#include <QRgb>

#include <optional>

// Drawing of character patterns into images, one pixel per dot. Shared by
// the editor's palette tiles and the command-line tool's sheets.
namespace CharacterImage {

constexpr QRgb Black = 0xFF000000;
constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Transparent = 0xFFAEAEAE; // how a transparent dot looks
constexpr QRgb Blank = 0xFF808080;       // transparent dots of the blank code 0 in the palette

// Draws the 12 x 18 visible dots of `pattern` with their top-left corner at
// `topLeft`. Transparent dots get `transparent`; a dot holding any other text
// (such as the empty element a short file leaves) gets `other`, or is not
// drawn at all when `other` is empty.
void draw(QImage &image, QPoint topLeft, const CharPattern &pattern, QRgb transparent,
          std::optional<QRgb> other);

// The characters `layout` names, where it places them.
QImage characters(const TitleData &data, const CharacterLayout &layout);

// All 256 characters, 16 per row, 12 x 18 pixels each with no gap.
QImage sheet(const TitleData &data);

// What transparent dots of a page show.
enum class Background {
    Grey,       // the transparent grey, as everywhere else
    ColourBars, // the video of a camera sending bars, as on the monitor
};

// Layer 0 of one screen page as 30 x 13 characters; over the bars it is the
// page as MonitorPicture draws the monitor.
QImage page(const TitleData &data, int page, Background background = Background::Grey);

} // namespace CharacterImage
