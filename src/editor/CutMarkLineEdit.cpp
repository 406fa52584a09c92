#include "CutMarkLineEdit.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

CutMarkLineEdit::CutMarkLineEdit(QWidget *parent) : QLineEdit(parent) {}

void CutMarkLineEdit::setCutAt(qsizetype index)
{
    if (index == m_cutAt)
        return;
    m_cutAt = index;
    update();
}

int CutMarkLineEdit::cutMarkX() const
{
    if (m_cutAt < 0 || m_cutAt > text().size())
        return -1;
    // The box scrolls its text to keep the cursor in view, so the mark is
    // measured from the cursor, whose place the box knows.
    const QFontMetricsF metrics(font());
    const qreal fromCursor =
        metrics.horizontalAdvance(text().left(m_cutAt)) - metrics.horizontalAdvance(text().left(cursorPosition()));
    const int x = int(std::lround(cursorRect().center().x() + fromCursor));
    const QRect inside = contentsRect();
    return x > inside.left() && x < inside.right() ? x : -1;
}

void CutMarkLineEdit::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    const int x = cutMarkX();
    if (x < 0)
        return;
    QPainter painter(this);
    const QRect inside = contentsRect();
    painter.fillRect(QRect(x - 1, inside.top() + 2, 2, inside.height() - 4), Qt::red);
}
