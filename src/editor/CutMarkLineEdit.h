#pragma once

#include <QLineEdit>

// A one-line text box that can mark a place in its text with a red upright
// bar: where "データ作成" will cut the text because the strip ends there.
// What lies beyond the mark is tinted red.
class CutMarkLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit CutMarkLineEdit(QWidget *parent = nullptr);

    // Index in the text of the first character that is cut, or -1 for no mark.
    void setCutAt(qsizetype index);
    qsizetype cutAt() const { return m_cutAt; }
    // Where the mark stands in the box (x of the bar), or -1 when there is
    // none or it lies outside the visible part of the text. As of the last
    // paint, which scrolls the text.
    int cutMarkX() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int xOf(qsizetype index) const;

    qsizetype m_cutAt = -1;
};
