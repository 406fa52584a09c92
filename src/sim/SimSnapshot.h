#pragma once

#include "SimChannel.h"

#include <QImage>
#include <QString>

// A picture of one channel's monitor: its screen page drawn with its own
// characters over a colour-bar test pattern, where transparent dots let the
// video through and the overlay sits at the channel's position.
namespace SimSnapshot {

constexpr int Width = 720;
constexpr int Height = 480;
constexpr int Scale = 2;        // monitor pixels per character dot
constexpr int StepPixels = 2;   // monitor pixels per position step

QImage render(const SimChannel &channel, bool videoLost);
bool save(const SimChannel &channel, bool videoLost, const QString &fileName);

} // namespace SimSnapshot
