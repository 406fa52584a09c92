#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

// Paints a plain widget (a panel, a lamp, a read-out) in one colour.
inline void fillBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}
