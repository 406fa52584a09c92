#pragma once

#include <QIcon>

// The picture of the write button: a title page with an arrow going down
// into the device, drawn here so the program ships no image files.
namespace WriteButtonIcon {

QIcon create();

} // namespace WriteButtonIcon
