#include "PictureCell.h"

#include <QMouseEvent>

PictureCell::PictureCell(int index, QWidget *parent) : QLabel(parent), m_index(index)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setContentsMargins(0, 0, 0, 0);
}

void PictureCell::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    emit pressed(m_index);
}

void PictureCell::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    emit doubleClicked(m_index);
}
