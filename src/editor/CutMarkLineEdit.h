#pragma once

#include "render/StripFit.h"

#include <QLineEdit>

class QLabel;

// A one-line text box that can mark a place in its text with a red upright
// bar: where "データ作成" will cut the text because the strip ends there.
// What lies beyond the mark is tinted red.
class CutMarkLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit CutMarkLineEdit(QWidget *parent = nullptr);

    // Marks the cut in character `index`, `within` (0..1) of its width from
    // its left (0: just before it); index -1 for no mark.
    void setCut(qsizetype index, qreal within = 0);
    qsizetype cutAt() const { return m_cutAt; }
    qreal cutWithin() const { return m_cutWithin; }
    // Where the mark stands in the box (x of the bar), or -1 when there is
    // none or it lies outside the visible part of the text. As of the last
    // paint, which scrolls the text.
    int cutMarkX() const;

    // Measures the text as make data draws it in `font`, marks where the
    // strip cuts it and shows in `counter` how much of the strip it uses
    // ("18/25"), in red once it is cut.
    StripFit::Measure showFit(const QFont &font, QLabel &counter);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int xOf(qsizetype index) const;
    int markX() const;

    qsizetype m_cutAt = -1;
    qreal m_cutWithin = 0;
};
