#pragma once

#include "LinkState.h"

#include <QByteArray>

struct TitleData;

// One frame of the device's command set with the reply it earns.
struct DeviceFrame
{
    QByteArray bytes;    // empty when the state names no command
    int replyLength = 2; // bytes the device answers with
};

// Builds the frame for the current command kind from the engine's state,
// the level selectors and the title data.
namespace DeviceCommand {

DeviceFrame build(const LinkState &s, const TitleData &data);

// Reply length of a command kind: the queries with two data bytes earn 3.
int replyLength(Cmd cmdKind);

} // namespace DeviceCommand
