#pragma once

#include "core/TitleData.h"

#include <memory>

// A title with every store filled, so its file has its full size and every
// page shows many different characters.
inline std::unique_ptr<TitleData> fullTitle()
{
    auto data = std::make_unique<TitleData>();
    data->setDefaults();
    const PixelCode codes[] = {PixelCode::black(), PixelCode::white(), PixelCode::transparent()};
    for (int code = 0; code < Title::CodeCount; ++code)
        for (int dot = 0; dot < Title::DotsPerCode; ++dot)
            data->DotData[code][dot] = codes[(code + dot) % 3];
    for (int i = 0; i < DispPages::Size; ++i)
        data->DispData.bytes()[i] = quint8(i % 256);
    for (auto &text : data->ChText)
        text = QStringLiteral("本日の ニュース");
    return data;
}
