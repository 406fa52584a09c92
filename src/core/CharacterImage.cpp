#include "CharacterImage.h"

namespace CharacterImage {

namespace {
constexpr int SheetColumns = 16;

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

QImage sheet(const TitleData &data)
{
    const int rows = Title::CodeCount / SheetColumns;
    QImage image(SheetColumns * Title::CharWidth, rows * Title::CharHeight, QImage::Format_RGB32);
    for (int code = 0; code < Title::CodeCount; ++code) {
        const QPoint at((code % SheetColumns) * Title::CharWidth, (code / SheetColumns) * Title::CharHeight);
        drawOpaque(image, at, data.DotData[code]);
    }
    return image;
}

QImage page(const TitleData &data, int page)
{
    QImage image(Title::Columns * Title::CharWidth, Title::Rows * Title::CharHeight, QImage::Format_RGB32);
    for (int cell = 0; cell < Title::Cells; ++cell) {
        const QPoint at((cell % Title::Columns) * Title::CharWidth, (cell / Title::Columns) * Title::CharHeight);
        drawOpaque(image, at, data.DotData[data.DispData(cell, 0, page)]);
    }
    return image;
}

} // namespace CharacterImage
