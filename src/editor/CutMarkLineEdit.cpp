#include "CutMarkLineEdit.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>

CutMarkLineEdit::CutMarkLineEdit(QWidget *parent) : QLineEdit(parent) {}

void CutMarkLineEdit::setCut(qsizetype index, qreal within)
{
    if (index == m_cutAt && within == m_cutWithin)
        return;
    m_cutAt = index;
    m_cutWithin = within;
    update();
}

StripFit::Measure CutMarkLineEdit::showFit(const QFont &font, QLabel &counter)
{
    const StripFit::Measure fit = StripFit::measure(text(), font);
    counter.setText(fit.usage());
    QPalette palette = counter.palette();
    const QWidget *around = counter.parentWidget() ? counter.parentWidget() : &counter;
    palette.setColor(QPalette::WindowText, fit.fits() ? around->palette().color(QPalette::WindowText) : Qt::red);
    counter.setPalette(palette);
    setCut(fit.markIndex(), fit.markWithin());
    return fit;
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

// The bar stands inside a letter the strip's end runs through, as far in as
// the strip shows of it.
int CutMarkLineEdit::markX() const
{
    if (m_cutWithin <= 0 || m_cutAt >= text().size())
        return xOf(m_cutAt);
    QTextBoundaryFinder letters(QTextBoundaryFinder::Grapheme, text());
    letters.setPosition(m_cutAt);
    const qsizetype end = std::max(letters.toNextBoundary(), m_cutAt + 1);
    const int left = xOf(m_cutAt);
    return left + int(std::lround((xOf(end) - left) * m_cutWithin));
}

int CutMarkLineEdit::cutMarkX() const
{
    if (m_cutAt < 0 || m_cutAt > text().size())
        return -1;
    const int x = markX();
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
    const int from = std::max(markX(), inside.left());
    const int to = std::min(xOf(text().size()), inside.right());
    if (from < to)
        painter.fillRect(QRect(from, inside.top(), to - from, inside.height()), QColor(255, 0, 0, 60));
    if (const int x = cutMarkX(); x >= 0)
        painter.fillRect(QRect(x - 1, inside.top(), 2, inside.height()), Qt::red);
}
