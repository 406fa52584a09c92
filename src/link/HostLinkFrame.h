#pragma once

#include "core/TitleData.h"

#include <QByteArray>

// The two block frames of the host link: a screen row of a page and a
// character pattern, each an ASCII header, a raw block and CR.
namespace HostLinkFrame {

constexpr char CR = '\r';
constexpr int RowBlockSize = Title::Columns;       // 30
constexpr int CharBlockSize = Title::VisibleDots / 4; // 54
constexpr int SlotCount = Title::BlockSize + 1;    // 0 (blank) .. 25

// The byte the device sees for `code` on `page`: 0 stays 0, the channel's
// own block appears as 1..25. Only meaningful for sendable codes.
int deviceCode(int code, int page);
// A nonzero code at or below 25 * page would wrap below 1.
bool isSendable(int code, int page);

// "@WD,P00,Lrr," + 30 bytes + CR.
QByteArray screenRow(const TitleData &data, int page, int row);
// "@WC,Phh," + 54 bytes + CR.
QByteArray character(const CharPattern &pattern, int slot);

// The character code whose pattern goes into `slot` for channel `ch`.
int codeForSlot(int ch, int slot);
// Dots 0..215 four to a byte, first dot in the high bits.
QByteArray packPattern(const CharPattern &pattern);

} // namespace HostLinkFrame
