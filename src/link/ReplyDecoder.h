#pragma once

#include <QString>

#include <optional>

// Reads the status replies held as hexadecimal text. Only the low digits of
// reply bytes 1 and 2 (characters 2 and 4 of the text) carry anything.
namespace ReplyDecoder {

// Channel 1..8 the device shows, or nothing for any other digit.
std::optional<int> channel(const QString &rxHex);
// Positions as the operator reads them: 0 is the device's centre.
int horizontalPosition(const QString &rxHex);
int verticalPosition(const QString &rxHex);

struct Levels
{
    std::optional<int> black; // nothing when the digit names no item
    std::optional<int> white;
};
Levels levels(const QString &rxHex);

// Bit i set: input i + 1 has lost its video.
int videoLossMask(const QString &rxHex);

} // namespace ReplyDecoder
