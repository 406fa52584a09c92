#pragma once

#include "TransferRecord.h"

#include "core/TitleData.h"

#include <QList>
#include <QString>

#include <array>

// Which channels of a title differ from what the unit on a port holds, as
// far as the transfer log knows: the log's hashes of the last complete
// write of each channel against the hashes of the title's frames now. This
// trusts the unit to hold what this computer last wrote to it.
namespace ChangedChannels {

enum class State {
    Same,         // the last write of the channel to this port sent these very frames
    Changed,      // it sent other frames
    NeverWritten, // the log has no write of the channel to this port
    Unfinished,   // its last write to this port broke off: the unit holds an unknown mixture
};

// `records` oldest first, as TransferLog::read gives them.
std::array<State, Title::Channels> compare(const TitleData &data, const QList<TransferRecord> &records,
                                           const QString &port);

// Channels 1..8 whose state is anything but Same.
QList<int> toSend(const std::array<State, Title::Channels> &states);

} // namespace ChangedChannels
