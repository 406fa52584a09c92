#pragma once

#include "TitleData.h"

// Editing of layer 0 of a screen page, shared by the editor window and the
// command-line tool so both lay a title out identically.
namespace ScreenLayout {

// The block (0..9) that code `code` (1..250) belongs to. Codes count from 1
// within a block, so code 25 is the last of block 0, not the first of block 1.
constexpr int blockOf(int code)
{
    return (code - 1) / Title::BlockSize;
}

// The first code of block `block`.
constexpr int firstCodeOf(int block)
{
    return Title::BlockSize * block + 1;
}

// The first code of the block that code `t` (1..250) belongs to.
constexpr int blockTopCode(int t)
{
    return firstCodeOf(blockOf(t));
}

// Offsets 0..lastOffset(selCell) are the cells a block fills from the
// selected cell: 25 cells, fewer near the end of the row, never past it.
constexpr int lastOffset(int selCell)
{
    const int col = selCell % Title::Columns;
    return col <= 5 ? Title::BlockSize - 1 : Title::Columns - 1 - col;
}

// Sets layer 0 of every cell of `page` to code 0; layer 1 is untouched.
void clearPage(TitleData &data, int page);

// Writes topCode, topCode + 1, ... into layer 0 of `page` from `selCell` on,
// at most to the end of the row. Returns the number of cells written.
int placeBlock(TitleData &data, int page, int selCell, int topCode);

} // namespace ScreenLayout
