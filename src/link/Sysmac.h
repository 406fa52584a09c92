#pragma once

#include <QString>

// Number conversions used to pack and unpack the fields of host-link frames.
namespace Sysmac {

// The decimal text of a hexadecimal text ("ff" -> "255"). Characters that
// are not hexadecimal digits count as 0, so "zz" and "" give "0".
QString HexToDec(const QString &hex);

// The value of a text of binary digits ("10010001" -> 145). Only "1" sets a
// bit; any other character counts as 0.
qint32 BinToInt(const QString &bin);

} // namespace Sysmac
