#include "ScreenGrid.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

ScreenGrid::ScreenGrid(QWidget *parent) : QWidget(parent) {}

QRect ScreenGrid::cellRect(int cell)
{
    const int row = cell / Title::Columns;
    const int col = cell % Title::Columns;
    return QRect(Origin + col * PitchX, Origin + row * PitchY, PitchX, PitchY);
}

int ScreenGrid::cellAt(const QPoint &pos)
{
    const int x = pos.x() - Origin;
    const int y = pos.y() - Origin;
    if (x < 0 || y < 0)
        return -1;
    const int col = x / PitchX;
    const int row = y / PitchY;
    if (col >= Title::Columns || row >= Title::Rows)
        return -1;
    return row * Title::Columns + col;
}

void ScreenGrid::setCellImage(int cell, const QImage &image)
{
    if (cell < 0 || cell >= Title::Cells)
        return;
    m_images[cell] = image;
    update(cellRect(cell));
}

void ScreenGrid::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect dirty = event->rect();
    for (int cell = 0; cell < Title::Cells; ++cell) {
        const QRect place = cellRect(cell);
        if (!m_images[cell].isNull() && place.intersects(dirty))
            painter.drawImage(place.topLeft(), m_images[cell], QRect(QPoint(0, 0), place.size()));
    }
}

int ScreenGrid::acceptCell(QMouseEvent *event)
{
    const int cell = cellAt(event->position().toPoint());
    // Presses between and around the cells belong to the container.
    event->setAccepted(cell >= 0);
    return cell;
}

void ScreenGrid::mousePressEvent(QMouseEvent *event)
{
    if (const int cell = acceptCell(event); cell >= 0)
        emit pressed(cell);
}

void ScreenGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (const int cell = acceptCell(event); cell >= 0)
        emit doubleClicked(cell);
}
