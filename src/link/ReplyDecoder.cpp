#include "ReplyDecoder.h"

#include "Sysmac.h"

namespace ReplyDecoder {

namespace {

QChar digitAt(const QString &rxHex, int position)
{
    return position <= rxHex.size() ? rxHex.at(position - 1) : QChar(u'0');
}

// A hex letter counts 0 here: the position replies use decimal digits.
int decimalValue(QChar c)
{
    return c.isDigit() && c.unicode() < 128 ? c.unicode() - u'0' : 0;
}

int hexValue(QChar c)
{
    return Sysmac::HexToDec(QString(c)).toInt();
}

int twoDigits(const QString &rxHex)
{
    return 10 * decimalValue(digitAt(rxHex, 2)) + decimalValue(digitAt(rxHex, 4));
}

std::optional<int> levelIndex(QChar c)
{
    const int index = hexValue(c);
    if (index > 3)
        return std::nullopt;
    return index;
}

} // namespace

std::optional<int> channel(const QString &rxHex)
{
    const int d = decimalValue(digitAt(rxHex, 2));
    if (d < 1 || d > 8)
        return std::nullopt;
    return d;
}

int horizontalPosition(const QString &rxHex)
{
    return twoDigits(rxHex) - 32;
}

int verticalPosition(const QString &rxHex)
{
    return 16 - twoDigits(rxHex);
}

Levels levels(const QString &rxHex)
{
    return {levelIndex(digitAt(rxHex, 4)), levelIndex(digitAt(rxHex, 2))};
}

int videoLossMask(const QString &rxHex)
{
    return hexValue(digitAt(rxHex, 4)) | (hexValue(digitAt(rxHex, 2)) << 4);
}

} // namespace ReplyDecoder
