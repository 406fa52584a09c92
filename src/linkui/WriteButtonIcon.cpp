#include "WriteButtonIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace WriteButtonIcon {

QIcon create()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    // The device: a dark box with a screen showing a line of title.
    painter.setPen(QPen(QColor(0x20, 0x20, 0x20), 1));
    painter.setBrush(QColor(0x50, 0x50, 0x58));
    painter.drawRoundedRect(QRectF(2.5, 18.5, 27, 12), 2, 2);
    painter.setBrush(QColor(0x10, 0x30, 0x60));
    painter.drawRect(QRectF(5.5, 21.5, 21, 6));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(8, 23.5, 12, 2));

    // The arrow: data going into the device.
    QPainterPath arrow;
    arrow.moveTo(13, 1);
    arrow.lineTo(19, 1);
    arrow.lineTo(19, 9);
    arrow.lineTo(24, 9);
    arrow.lineTo(16, 17);
    arrow.lineTo(8, 9);
    arrow.lineTo(13, 9);
    arrow.closeSubpath();
    painter.setPen(QPen(QColor(0x80, 0x40, 0x00), 1));
    painter.setBrush(QColor(0xFF, 0x80, 0x00));
    painter.drawPath(arrow);
    painter.end();

    return QIcon(pixmap);
}

} // namespace WriteButtonIcon
