#include "CharacterLayout.h"

#include "TitleData.h"

CharacterLayout CharacterLayout::sheet()
{
    return {0, Title::CodeCount, 16};
}

CharacterLayout CharacterLayout::block(int block)
{
    return {block * Title::BlockSize + 1, Title::BlockSize, Title::BlockSize};
}

QSize CharacterLayout::size() const
{
    const int rows = (count + columns - 1) / columns;
    return {columns * Title::CharWidth, rows * Title::CharHeight};
}

QPoint CharacterLayout::topLeft(int index) const
{
    return {(index % columns) * Title::CharWidth, (index / columns) * Title::CharHeight};
}
