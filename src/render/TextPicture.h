#pragma once

#include "core/TitleData.h"

#include <QFont>
#include <QImage>
#include <QString>

// The off-screen drawing surface of a rendering: 304 x 22 pixels, white, at
// 96 dpi so that point sizes give the pixel sizes operators are used to
// (14.25 pt = 19 px).
class TextPicture
{
public:
    static constexpr int Width = 304;
    static constexpr int Height = 22;
    static constexpr int Dpi = 96;

    TextPicture();

    // A white picture of the given size at the strip's resolution, on which
    // text is laid out exactly as it is drawn here.
    static QImage surface(int width, int height);

    // Back to plain white.
    void clear();

    // Draws `text` in black with its top-left corner at (x, y).
    void PicPrint(int x, int y, const QString &text, const QFont &font);

    // Writes the picture as a Windows bitmap; false when it cannot be written.
    bool save(const QString &fileName) const;

    const QImage &image() const { return m_image; }

private:
    void keepUnderlineInStrip(const QImage &before, int x, int y, const QString &text, const QFont &drawing);

    QImage m_image;
};
