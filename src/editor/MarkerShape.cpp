#include "MarkerShape.h"

#include <QPainter>

MarkerShape::MarkerShape(const QColor &border, QWidget *parent) : QWidget(parent), m_border(border)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void MarkerShape::paintEvent(QPaintEvent *)
{
    // Four filled one-pixel strips rather than a pen: at a fractional scale
    // a pen's line is centred on the widget's edge, so half of the top and
    // left sides fall outside and are clipped away.
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), m_border);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), m_border);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), m_border);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), m_border);
}
