#pragma once

#include <QString>

#include <optional>

// Reads the status replies held as hexadecimal text. Bytes 1 and 2 carry the
// values, one small number each; a byte outside what the device can report
// makes the value garbled (nothing) rather than a wrong number: a late
// reply to another question must not pass for the answer to this one.
namespace ReplyDecoder {

// The overlay's travel as the device counts it: 0..63 across with the
// centre at 32, 0..31 down with the centre at 16.
constexpr int HorizontalSteps = 64;
constexpr int VerticalSteps = 32;

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
