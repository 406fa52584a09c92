#include "ReplyDecoder.h"

namespace ReplyDecoder {

namespace {

// Byte n (1-based) of the reply; a missing byte reads as 0.
int byteAt(const QString &rxHex, int n)
{
    bool ok = false;
    const int value = rxHex.mid(2 * (n - 1), 2).toInt(&ok, 16);
    return ok ? value : 0;
}

// Bytes 1 and 2 as the tens and units of a decimal number 0..99.
std::optional<int> twoDigits(const QString &rxHex)
{
    const int tens = byteAt(rxHex, 1);
    const int units = byteAt(rxHex, 2);
    if (tens > 9 || units > 9)
        return std::nullopt;
    return 10 * tens + units;
}

std::optional<int> levelIndex(int byte)
{
    if (byte > 3)
        return std::nullopt;
    return byte;
}

std::optional<int> nibble(int byte)
{
    if (byte > 0xF)
        return std::nullopt;
    return byte;
}

} // namespace

std::optional<int> channel(const QString &rxHex)
{
    const int d = byteAt(rxHex, 1);
    if (d < 1 || d > 8)
        return std::nullopt;
    return d;
}

std::optional<int> horizontalPosition(const QString &rxHex)
{
    const auto v = twoDigits(rxHex);
    return v ? std::optional(*v - HorizontalCentre) : std::nullopt;
}

std::optional<int> verticalPosition(const QString &rxHex)
{
    const auto v = twoDigits(rxHex);
    return v ? std::optional(VerticalCentre - *v) : std::nullopt;
}

Levels levels(const QString &rxHex)
{
    return {levelIndex(byteAt(rxHex, 2)), levelIndex(byteAt(rxHex, 1))};
}

std::optional<int> videoLossMask(const QString &rxHex)
{
    const auto low = nibble(byteAt(rxHex, 2));
    const auto high = nibble(byteAt(rxHex, 1));
    if (!low || !high)
        return std::nullopt;
    return *low | (*high << 4);
}

} // namespace ReplyDecoder
