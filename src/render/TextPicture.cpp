#include "TextPicture.h"

#include "RenderFont.h"

#include "core/FileSystem.h"

#include <QFontMetrics>
#include <QPainter>

TextPicture::TextPicture() : m_image(Width, Height, QImage::Format_RGB32)
{
    const int dotsPerMeter = qRound(Dpi / 0.0254);
    m_image.setDotsPerMeterX(dotsPerMeter);
    m_image.setDotsPerMeterY(dotsPerMeter);
    clear();
}

void TextPicture::clear()
{
    m_image.fill(Qt::white);
}

void TextPicture::PicPrint(int x, int y, const QString &text, const QFont &font)
{
    const QFont drawing = RenderFont::drawingFont(font);
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(drawing);
    painter.setPen(Qt::black);
    // The metrics must come from the painter, which measures at the image's
    // resolution rather than the screen's.
    const QFontMetrics metrics = painter.fontMetrics();
    painter.drawText(x, y + metrics.ascent(), text);
}

bool TextPicture::save(const QString &fileName) const
{
    return FileSystem::rewriteBitmap(m_image, fileName);
}
