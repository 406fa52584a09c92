#include "TextPicture.h"

#include "RenderFont.h"

#include "core/FileSystem.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

TextPicture::TextPicture() : m_image(surface(Width, Height)) {}

QImage TextPicture::surface(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    const int dotsPerMeter = qRound(Dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    return image;
}

void TextPicture::clear()
{
    m_image.fill(Qt::white);
}

namespace {

void drawText(QImage &image, int x, int y, const QString &text, const QFont &drawing)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(drawing);
    painter.setPen(Qt::black);
    // The metrics must come from the painter, which measures at the image's
    // resolution rather than the screen's.
    const QFontMetrics metrics = painter.fontMetrics();
    painter.drawText(x, y + metrics.ascent(), text);
}

} // namespace

void TextPicture::PicPrint(int x, int y, const QString &text, const QFont &font)
{
    const QFont drawing = RenderFont::drawingFont(font);
    if (!drawing.underline()) {
        drawText(m_image, x, y, text, drawing);
        return;
    }
    const QImage before = m_image.copy();
    drawText(m_image, x, y, text, drawing);
    keepUnderlineInStrip(before, x, y, text, drawing);
}

// At the usual sizes the font puts its underline a few rows below the
// baseline, under the rows that become dots, so the font dialog's underline
// would do nothing. Where the whole line falls below them it is drawn again on
// the last rows, with the thickness and extent the font gave it; a line that
// already shows is left exactly where the font put it.
void TextPicture::keepUnderlineInStrip(const QImage &before, int x, int y, const QString &text,
                                       const QFont &drawing)
{
    QFont plain(drawing);
    plain.setUnderline(false);
    QImage bare = before.copy();
    drawText(bare, x, y, text, plain);

    int top = -1;
    int bottom = -1;
    for (int row = 0; row < m_image.height(); ++row) {
        const auto *drawn = reinterpret_cast<const QRgb *>(m_image.constScanLine(row));
        const auto *without = reinterpret_cast<const QRgb *>(bare.constScanLine(row));
        if (std::equal(drawn, drawn + m_image.width(), without))
            continue;
        if (top < 0)
            top = row;
        bottom = row;
    }
    if (top < Title::CharHeight)
        return;
    const int shift = bottom - (Title::CharHeight - 1);
    for (int row = top; row <= bottom; ++row) {
        const auto *drawn = reinterpret_cast<const QRgb *>(m_image.constScanLine(row));
        const auto *without = reinterpret_cast<const QRgb *>(bare.constScanLine(row));
        auto *target = reinterpret_cast<QRgb *>(m_image.scanLine(row - shift));
        for (int col = 0; col < m_image.width(); ++col)
            if (drawn[col] != without[col])
                target[col] = drawn[col];
    }
}

bool TextPicture::save(const QString &fileName) const
{
    return FileSystem::rewriteBitmap(m_image, fileName);
}
