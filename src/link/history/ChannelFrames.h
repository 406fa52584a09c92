#pragma once

#include <QByteArray>
#include <QByteArrayList>

struct TitleData;

// The frames a bulk write sends for one channel, built by the same command
// builder the engine sends with: channel select, overlay off, the 13 screen
// rows, the 26 characters, overlay on and "PS1", 43 frames in all.
namespace ChannelFrames {

constexpr int PerChannel = 43;

// Channel 0..7 of the title as it would go out now.
QByteArrayList build(const TitleData &data, int channel);

// SHA-256 of those frames' bytes, one after the other: what the transfer
// log records for a channel that was written completely.
QByteArray sha256(const TitleData &data, int channel);

} // namespace ChannelFrames
