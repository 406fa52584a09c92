#include "PaletteTiles.h"

#include "core/CharacterImage.h"

PaletteTiles::PaletteTiles()
{
    for (int code = 0; code < Title::CodeCount; ++code) {
        m_images[code] = QImage(Width, Height, QImage::Format_RGB32);
        clear(code);
    }
}

QRgb PaletteTiles::background(int code)
{
    return code == 0 ? CharacterImage::Blank : CharacterImage::Transparent;
}

void PaletteTiles::draw(int code, const CharPattern &pattern)
{
    CharacterImage::draw(m_images[code], QPoint(0, 0), pattern, background(code), std::nullopt);
}

void PaletteTiles::clear(int code)
{
    m_images[code].fill(background(code));
}
