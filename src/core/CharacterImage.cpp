#include "CharacterImage.h"

#include "MonitorPicture.h"

namespace CharacterImage {

namespace {

// Sheets have no "undrawn" state: every dot gets one of the three colours.
void drawOpaque(QImage &image, QPoint topLeft, const CharPattern &pattern)
{
    draw(image, topLeft, pattern, Transparent, Transparent);
}
} // namespace

void draw(QImage &image, QPoint topLeft, const CharPattern &pattern, QRgb transparent,
          std::optional<QRgb> other)
{
    for (int dot = 0; dot < Title::VisibleDots; ++dot) {
        const PixelCode code = pattern[dot];
        std::optional<QRgb> colour = other;
        if (code.isBlack())
            colour = Black;
        else if (code.isWhite())
            colour = White;
        else if (code.isTransparent())
            colour = transparent;
        const QPoint at = topLeft + QPoint(dot % Title::CharWidth, dot / Title::CharWidth);
        if (colour && image.rect().contains(at))
            image.setPixel(at, *colour);
    }
}

QImage characters(const TitleData &data, const CharacterLayout &layout)
{
    QImage image(layout.size(), QImage::Format_RGB32);
    for (int index = 0; index < layout.count; ++index)
        drawOpaque(image, layout.topLeft(index), data.DotData[layout.firstCode + index]);
    return image;
}

QImage sheet(const TitleData &data)
{
    return characters(data, CharacterLayout::sheet());
}

QImage page(const TitleData &data, int page, Background background)
{
    if (background == Background::ColourBars)
        return MonitorPicture::channel(data, page);
    QImage image(Title::Columns * Title::CharWidth, Title::Rows * Title::CharHeight, QImage::Format_RGB32);
    for (int cell = 0; cell < Title::Cells; ++cell) {
        const QPoint at((cell % Title::Columns) * Title::CharWidth, (cell / Title::Columns) * Title::CharHeight);
        drawOpaque(image, at, data.DotData[data.DispData(cell, 0, page)]);
    }
    return image;
}

} // namespace CharacterImage
