#pragma once

#include "PictureArray.h"

#include "core/TitleData.h"

// The 13 x 30 cells of one screen page. A cell shows the top-left 13 x 19
// pixels of its tile image: the 12 x 18 dots and the tile's background pixel
// on the right and below as the gap to the next cell.
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
    // The cell under `pos`, or -1 outside the cells.
    static int cellAt(const QPoint &pos);

protected:
    QRect placeOf(int index) const override { return cellRect(index); }
    bool isShown(int) const override { return true; }
    int memberAt(const QPoint &pos) const override { return cellAt(pos); }
};
