#include "CaptionFrame.h"

#include <QPainter>

CaptionFrame::CaptionFrame(const QString &caption, QWidget *parent) : QWidget(parent), m_caption(caption)
{
}

void CaptionFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int top = m_caption.isEmpty() ? 0 : metrics.height() / 2;
    const QRect border = rect().adjusted(0, top, -2, -2);

    // Dark line with a light one beside it: the etched look.
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(border.translated(1, 1));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(border);

    if (m_caption.isEmpty())
        return;
    const QRect text(8, 0, metrics.horizontalAdvance(m_caption) + 4, metrics.height());
    painter.fillRect(text, palette().color(QPalette::Window));
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(text, Qt::AlignCenter, m_caption);
}
