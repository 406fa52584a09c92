#pragma once

#include "PictureArray.h"

#include "core/TitleData.h"

// The 13 x 30 cells of one screen page. A cell shows the top-left 13 x 19
// pixels of its tile image: the 12 x 18 dots and the tile's background pixel
// on the right and below as the gap to the next cell.
//
// The grid takes the keyboard focus (shown as a line in the highlight
// colour round the cells): the arrow keys press the neighbouring cell of the current one,
// Enter and Space press the current one, as a click would.
class ScreenGrid : public PictureArray
{
    Q_OBJECT

public:
    // Cell 0 stands at (2, 2); cells follow 13 pixels apart along a row and
    // 19 pixels apart down a column.
    static constexpr int Origin = 2;
    static constexpr int PitchX = Title::CharWidth + 1;
    static constexpr int PitchY = Title::CharHeight + 1;

    explicit ScreenGrid(QWidget *parent);

    static QRect cellRect(int cell);
    // The cell the keys start from: the one last selected.
    void setCurrentCell(int cell);
    // The cell under `pos`, or -1 outside the cells.
    static int cellAt(const QPoint &pos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    QRect placeOf(int index) const override { return cellRect(index); }
    bool isShown(int) const override { return true; }
    int memberAt(const QPoint &pos) const override { return cellAt(pos); }

private:
    // The area round the cells where the focus line runs, hiding no dot.
    QRect focusLine() const;

    int m_current = 0;
};
