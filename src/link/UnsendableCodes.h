#pragma once

#include <optional>

struct TitleData;

// A cell of a chosen channel's page that the bulk write cannot send: a
// nonzero code from a lower channel's block, which would wrap below 1.
struct UnsendableCell
{
    int channel = 0; // 0..7
    int row = 0;     // 0..12
    int column = 0;  // 0..29
    int code = 0;
};

// Checks a title before a bulk write starts, so that a write the device
// would garble is refused before anything goes out.
namespace UnsendableCodes {

// The first such cell over the channels flagged in KakikomiCh, in channel,
// row and column order.
std::optional<UnsendableCell> first(const TitleData &data);

} // namespace UnsendableCodes
