#pragma once

#include "Refusal.h"

#include <QString>

// A unit's name is also its title file's name in the site folder, on Linux
// and on Windows alike: so no separator, no "." or "..", no control
// character, none of the names Windows keeps for devices (CON, NUL, COM1,
// LPT1, with or without an extension) and no trailing dot or space, which
// Windows drops; and short enough that "<name>.zvx" fits the 255 bytes a
// file name has on Linux.
namespace UnitName {

constexpr int MaxFileNameBytes = 255;

// Empty when `name` can be a plain file name; otherwise why not.
Refusal problem(const QString &name);

} // namespace UnitName
