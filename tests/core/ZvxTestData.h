#pragma once

#include "core/TitleData.h"

#include <QByteArray>

#include <memory>

// A title with something different in every store, so a reader or writer
// that drops or shifts a field shows up.
inline std::unique_ptr<TitleData> makeVariedTitle()
{
    auto data = std::make_unique<TitleData>();
    data->setDefaults();
    const PixelCode codes[] = {PixelCode::black(), PixelCode::transparent(), PixelCode::white()};
    for (int code = 0; code < Title::CodeCount; ++code)
        for (int dot = 0; dot < Title::DotsPerCode; ++dot)
            data->DotData[code][dot] = codes[(code * 7 + dot * 3 + dot / 5) % 3];
    for (int page = 0; page < Title::Pages; ++page)
        for (int cell = 0; cell < Title::Cells; ++cell)
            for (int layer = 0; layer < Title::Layers; ++layer)
                data->DispData(cell, layer, page) = quint8((cell * 13 + page * 31 + layer * 101) % 256);
    data->ChText[0] = QStringLiteral("本日の ニュース");
    data->ChText[3] = QStringLiteral("  lead and trail  ");
    data->ChText[9] = QStringLiteral("～①");
    return data;
}

inline QByteArray header()
{
    return QByteArray("ZelkoVXData\r\n");
}
