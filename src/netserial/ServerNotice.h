#pragma once

#include <QByteArray>
#include <QString>

// What a serial device server says on a fresh connection before any frame
// of ours has gone out. Such bytes are never the unit's reply: a server
// that cannot give us the line says why in text and closes (ser2net:
// "Port already in use", "Device open failure: ..."). This turns them into
// a reason an operator can read.
namespace ServerNotice {

// The longest part of the server's text that is shown.
constexpr int MaxShown = 80;

// A short Japanese predicate whose subject is the server, with the
// server's own words in full-width brackets after it, e.g.
// "他の接続が使用中です（Port already in use）". The caller puts the
// address before it: "<address> は" + describe(bytes). Printable ASCII is
// shown as it is, runs of blanks and line ends as one space, any other
// byte as \xNN, at most MaxShown characters.
QString describe(const QByteArray &bytes);

} // namespace ServerNotice
