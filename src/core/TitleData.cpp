#include "TitleData.h"

void TitleData::setDefaults()
{
    for (auto &pattern : DotData)
        pattern.fill(PixelCode::transparent());
    DispData.bytes().fill(0);
    for (auto &text : ChText)
        text.clear();
}

void TitleData::assignTitleFrom(const TitleData &other)
{
    DotData = other.DotData;
    DispData = other.DispData;
    ChText = other.ChText;
}
