#pragma once

#include <QString>

#include <optional>

// Reads the status replies held as hexadecimal text. Bytes 1 and 2 carry the
// values, one small number each. A reply is garbled (nothing) only when it
// holds what its format cannot carry: a position digit above 9, a channel
// outside 1..8, a level byte naming no item, a video-loss byte above 0xF.
// How far a unit lets the overlay travel is the unit's business, so every
// two-digit position 0..99 is shown as it comes.
namespace ReplyDecoder {

// The raw positions the device reports as its centre, shown as 0.
constexpr int HorizontalCentre = 32;
constexpr int VerticalCentre = 16;

// Channel 1..8 the device shows.
std::optional<int> channel(const QString &rxHex);
// Positions as the operator reads them: 0 is the device's centre.
std::optional<int> horizontalPosition(const QString &rxHex);
std::optional<int> verticalPosition(const QString &rxHex);

struct Levels
{
    std::optional<int> black; // nothing when the byte names no item
    std::optional<int> white;
};
Levels levels(const QString &rxHex);

// Bit i set: input i + 1 has lost its video.
std::optional<int> videoLossMask(const QString &rxHex);

} // namespace ReplyDecoder
