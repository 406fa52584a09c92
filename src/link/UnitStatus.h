#pragma once

#include "LinkState.h"

#include <QJsonObject>
#include <QList>
#include <QString>

#include <array>
#include <optional>

// What one status poll of a unit showed: its active channel, the overlay
// position, the levels and video loss per input. Unknown until a reply
// said otherwise. The one record of a unit's state for every front end
// (the communication window aside, which shows each reply as it comes):
// `orvex status`, `orvex site status`, the site window and a far side
// reporting its unit, so the JSON below is written in one place.
struct UnitStatus
{
    int channel = -1; // 0..7
    std::optional<int> hpos, vpos;
    int black = -1, white = -1; // indexes of LevelNames' lists
    std::array<bool, 8> videoLoss{};
    bool videoLossKnown = false;
    QList<Cmd> garbled; // status replies that held a value the device cannot report

    // What LinkView::setChannelLit and setVideoLoss report, taken in
    // (input 0..7; anything else is ignored).
    void showChannel(int index, bool lit);
    void showVideoLoss(int input, bool lost);

    // Inputs 1..8 reported without video (none while unknown).
    QList<int> lostInputs() const;

    // The same values shown; which replies were garbled is no value of the
    // unit (a garbled value is unknown already).
    bool operator==(const UnitStatus &other) const;
    bool operator!=(const UnitStatus &other) const { return !(*this == other); }

    // The object `orvex status --json` prints, on one line, its keys in
    // the documented order: channel 1..8, hpos, vpos, the level names,
    // video_loss (inputs 1..8); null for what is unknown.
    QString json() const;
    QJsonObject jsonObject() const;
    // Read back from that object (as a far side sends it); what it does
    // not say, or says out of range, stays unknown.
    static UnitStatus fromJson(const QJsonObject &object);
};
