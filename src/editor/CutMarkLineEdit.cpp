#include "CutMarkLineEdit.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

CutMarkLineEdit::CutMarkLineEdit(QWidget *parent) : QLineEdit(parent) {}

void CutMarkLineEdit::setCutAt(qsizetype index)
{
    if (index == m_cutAt)
        return;
    m_cutAt = index;
    update();
}

int CutMarkLineEdit::xOf(qsizetype index) const
{
    // The box scrolls its text to keep the cursor in view (as of its last
    // paint), so places are measured from the cursor, whose place it knows.
    const QFontMetricsF metrics(font());
    const qreal fromCursor =
        metrics.horizontalAdvance(text().left(index)) - metrics.horizontalAdvance(text().left(cursorPosition()));
    return int(std::lround(cursorRect().center().x() + fromCursor));
}

int CutMarkLineEdit::cutMarkX() const
{
    if (m_cutAt < 0 || m_cutAt > text().size())
        return -1;
    const int x = xOf(m_cutAt);
    const QRect inside = contentsRect();
    return x > inside.left() && x < inside.right() ? x : -1;
}

void CutMarkLineEdit::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    if (m_cutAt < 0 || m_cutAt > text().size())
        return;
    QPainter painter(this);
    const QRect inside = contentsRect().adjusted(1, 2, -1, -2);
    // What is cut is tinted, so it shows even when the cut itself has
    // scrolled out of view while typing on.
    const int from = std::max(xOf(m_cutAt), inside.left());
    const int to = std::min(xOf(text().size()), inside.right());
    if (from < to)
        painter.fillRect(QRect(from, inside.top(), to - from, inside.height()), QColor(255, 0, 0, 60));
    if (const int x = cutMarkX(); x >= 0)
        painter.fillRect(QRect(x - 1, inside.top(), 2, inside.height()), Qt::red);
}
