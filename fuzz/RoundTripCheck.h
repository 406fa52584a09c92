#pragma once

// The round-trip rule shared by the fuzz target and the regression test that
// replays its inputs: whatever the reader accepts comes back unchanged after
// a save.

#include "core/ZvxReader.h"
#include "core/ZvxWriter.h"

#include <QBuffer>

#include <memory>

namespace RoundTripCheck {

inline std::unique_ptr<TitleData> freshTitle()
{
    auto data = std::make_unique<TitleData>();
    data->setDefaults();
    return data;
}

inline ZvxReadResult load(const QByteArray &bytes, TitleData &data)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ZvxReader::load(buffer, data);
}

// Empty when `bytes` are refused by the reader or survive read, write and
// read unchanged; otherwise what went wrong.
inline const char *problem(const QByteArray &bytes)
{
    auto first = freshTitle();
    if (!load(bytes, *first).ok())
        return nullptr;
    const QByteArray saved = ZvxWriter::serialize(*first);

    auto second = freshTitle();
    const ZvxReadResult again = load(saved, *second);
    if (!again.ok())
        return "the saved file does not open";
    if (!again.normalised.isEmpty())
        return "the saved file needed normalising";
    if (second->ChText != first->ChText)
        return "block texts differ";
    if (second->DotData != first->DotData)
        return "character memory differs";
    if (second->DispData != first->DispData)
        return "screen pages differ";
    if (ZvxWriter::serialize(*second) != saved)
        return "a second save differs from the first";
    return nullptr;
}

} // namespace RoundTripCheck
