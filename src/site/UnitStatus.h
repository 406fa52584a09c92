#pragma once

#include "link/LinkState.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <optional>

// What one status poll of a unit showed: its active channel, the overlay
// position, the levels and video loss per input. Unknown until a reply
// said otherwise.
struct UnitStatus
{
    int channel = -1; // 0..7
    std::optional<int> hpos, vpos;
    int black = -1, white = -1;
    std::array<bool, 8> videoLoss{};
    bool videoLossKnown = false;
    QList<Cmd> garbled; // status replies that held a value the device cannot report

    // The object `orvex status --json` prints, on one line.
    QByteArray toJson() const;
};
