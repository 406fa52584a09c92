#pragma once

#include "PaletteTiles.h"
#include "PictureArray.h"

#include "core/TitleData.h"

// The tiles of the 256 character codes. Tile j (1..255) stands in row
// (j-1) div 25, column (j-1) mod 25; neighbouring tiles share their border
// pixel along a row and leave one pixel between rows. Only the ten block
// rows, codes 1..250, are shown; the tiles of code 0 (above the visible area)
// and of codes 251..255 hold images for the screen cells alone.
class PaletteView : public PictureArray
{
    Q_OBJECT

public:
    static constexpr int TileWidth = PaletteTiles::Width;
    static constexpr int TileHeight = PaletteTiles::Height;
    static constexpr int Columns = Title::BlockSize;
    static constexpr int ShownCodes = Title::Blocks * Title::BlockSize;

    explicit PaletteView(QWidget *parent);

    static QRect tileRect(int code);
    static bool isTileShown(int code) { return code >= 1 && code <= ShownCodes; }
    // The shown tile on top at `pos`, or -1.
    static int tileAt(const QPoint &pos);

protected:
    QRect placeOf(int index) const override { return tileRect(index); }
    bool isShown(int index) const override { return isTileShown(index); }
    int memberAt(const QPoint &pos) const override { return tileAt(pos); }

private:
    static constexpr int Left = 1;
    static constexpr int FirstRowTop = 3;
    static constexpr int PitchX = TileWidth - 1;
    static constexpr int PitchY = TileHeight + 1;
};
