#include "ScreenGrid.h"

#include <QKeyEvent>
#include <QPainter>

ScreenGrid::ScreenGrid(QWidget *parent) : PictureArray(Title::Cells, parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void ScreenGrid::setCurrentCell(int cell)
{
    if (cell >= 0 && cell < Title::Cells)
        m_current = cell;
}

void ScreenGrid::keyPressEvent(QKeyEvent *event)
{
    const int row = m_current / Title::Columns;
    const int col = m_current % Title::Columns;
    int target = -1;
    switch (event->key()) {
    case Qt::Key_Left:
        target = col > 0 ? m_current - 1 : m_current;
        break;
    case Qt::Key_Right:
        target = col < Title::Columns - 1 ? m_current + 1 : m_current;
        break;
    case Qt::Key_Up:
        target = row > 0 ? m_current - Title::Columns : m_current;
        break;
    case Qt::Key_Down:
        target = row < Title::Rows - 1 ? m_current + Title::Columns : m_current;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        target = m_current;
        break;
    default:
        PictureArray::keyPressEvent(event);
        return;
    }
    event->accept();
    emit pressed(target);
}

void ScreenGrid::focusInEvent(QFocusEvent *event)
{
    PictureArray::focusInEvent(event);
    update(); // the focus line
}

void ScreenGrid::focusOutEvent(QFocusEvent *event)
{
    PictureArray::focusOutEvent(event);
    update();
}

QRect ScreenGrid::focusLine() const
{
    // The outermost pixel round the cells: the selection marker runs one
    // pixel inside it, in the gaps.
    return QRect(Origin - 2, Origin - 2, Title::Columns * PitchX + 3, Title::Rows * PitchY + 3);
}

void ScreenGrid::paintEvent(QPaintEvent *event)
{
    PictureArray::paintEvent(event);
    if (!hasFocus())
        return;
    // Filled strips, which stay whole at fractional scales (see MarkerShape).
    QPainter painter(this);
    const QRect r = focusLine();
    const QColor colour = palette().color(QPalette::Highlight);
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
}

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
