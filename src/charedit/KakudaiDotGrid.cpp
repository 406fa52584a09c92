#include "KakudaiDotGrid.h"

#include "KakudaiGrid.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
const QColor Outline(0x40, 0x40, 0x40);
}

KakudaiDotGrid::KakudaiDotGrid(const KakudaiGrid &grid, QWidget *parent) : QWidget(parent), m_grid(grid)
{
    setFixedSize(sizeHint());
}

QSize KakudaiDotGrid::sizeHint() const
{
    return {Pitch * (KakudaiGrid::Columns - 1) + BoxSize, Pitch * (KakudaiGrid::Rows - 1) + BoxSize};
}

int KakudaiDotGrid::boxAt(const QPoint &pos)
{
    if (pos.x() < 0 || pos.y() < 0)
        return -1;
    // A press on a shared outline belongs to the box to its right or below,
    // so the last row and column keep their own outer outline.
    const int col = qMin(pos.x() / Pitch, KakudaiGrid::Columns - 1);
    const int row = qMin(pos.y() / Pitch, KakudaiGrid::Rows - 1);
    if (pos.x() >= col * Pitch + BoxSize || pos.y() >= row * Pitch + BoxSize)
        return -1;
    return row * KakudaiGrid::Columns + col;
}

void KakudaiDotGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    for (int n = 0; n < KakudaiGrid::Count; ++n) {
        const QRect box((n % KakudaiGrid::Columns) * Pitch, (n / KakudaiGrid::Columns) * Pitch, BoxSize,
                        BoxSize);
        painter.fillRect(box, Outline);
        painter.fillRect(box.adjusted(1, 1, -1, -1), QColor::fromRgb(m_grid.colour(n)));
    }
}

void KakudaiDotGrid::mousePressEvent(QMouseEvent *event)
{
    const int n = boxAt(event->position().toPoint());
    if (n >= 0)
        emit dotPressed(n);
}
