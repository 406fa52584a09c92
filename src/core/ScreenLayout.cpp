#include "ScreenLayout.h"

namespace ScreenLayout {

void clearPage(TitleData &data, int page)
{
    for (int cell = 0; cell < Title::Cells; ++cell)
        data.DispData(cell, 0, page) = 0;
}

int placeBlock(TitleData &data, int page, int selCell, int topCode)
{
    const int last = lastOffset(selCell);
    for (int i = 0; i <= last; ++i)
        data.DispData(selCell + i, 0, page) = quint8(topCode + i);
    return last + 1;
}

} // namespace ScreenLayout
