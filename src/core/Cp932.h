#pragma once

#include <QByteArray>
#include <QString>

// Windows code page 932, the character set of data files made on Japanese
// Windows. Goes through glibc's iconv because Qt's own codecs know only
// Shift_JIS, which differs from 932 in characters such as "～" and "①".
namespace Cp932 {

// Characters the code page cannot hold become "?".
QByteArray encode(const QString &text);
// Undecodable bytes become U+FFFD, one per byte.
QString decode(const QByteArray &bytes);

} // namespace Cp932
