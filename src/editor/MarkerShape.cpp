#include "MarkerShape.h"

#include <QPainter>

MarkerShape::MarkerShape(const QColor &border, QWidget *parent) : QWidget(parent), m_border(border)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void MarkerShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(m_border);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
