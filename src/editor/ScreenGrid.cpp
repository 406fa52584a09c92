#include "ScreenGrid.h"

ScreenGrid::ScreenGrid(QWidget *parent) : PictureArray(Title::Cells, parent) {}

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
