#include "PictureArray.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

PictureArray::PictureArray(int count, QWidget *parent) : QWidget(parent), m_images(count) {}

void PictureArray::setImage(int index, const QImage &image)
{
    if (index < 0 || index >= count())
        return;
    m_images[index] = image;
    if (isShown(index))
        update(placeOf(index));
}

void PictureArray::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect dirty = event->rect();
    for (int index = 0; index < count(); ++index) {
        const QRect place = placeOf(index);
        if (isShown(index) && !m_images[index].isNull() && place.intersects(dirty))
            painter.drawImage(place.topLeft(), m_images[index], QRect(QPoint(0, 0), place.size()));
    }
}

int PictureArray::acceptMember(QMouseEvent *event) const
{
    const int index = memberAt(event->position().toPoint());
    // Presses between and around the members belong to the container.
    event->setAccepted(index >= 0);
    return index;
}

void PictureArray::mousePressEvent(QMouseEvent *event)
{
    if (const int index = acceptMember(event); index >= 0)
        emit pressed(index);
}

void PictureArray::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (const int index = acceptMember(event); index >= 0)
        emit doubleClicked(index);
}
