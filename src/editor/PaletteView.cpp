#include "PaletteView.h"

PaletteView::PaletteView(QWidget *parent) : PictureArray(Title::CodeCount, parent) {}

QRect PaletteView::tileRect(int code)
{
    if (code == 0)
        return QRect(Left, FirstRowTop - PitchY, TileWidth, TileHeight);
    const int row = (code - 1) / Columns;
    const int col = (code - 1) % Columns;
    return QRect(Left + col * PitchX, FirstRowTop + row * PitchY, TileWidth, TileHeight);
}

int PaletteView::tileAt(const QPoint &pos)
{
    const int x = pos.x() - Left;
    const int y = pos.y() - FirstRowTop;
    if (x < 0 || y < 0 || y % PitchY >= TileHeight || x >= Columns * PitchX + 1)
        return -1;
    // A shared border pixel belongs to the tile on the right, which lies on
    // top; the last column's right border has no neighbour.
    const int col = std::min(x / PitchX, Columns - 1);
    const int code = (y / PitchY) * Columns + col + 1;
    return isTileShown(code) ? code : -1;
}
