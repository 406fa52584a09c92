#pragma once

#include <QList>
#include <QString>

#include <array>
#include <optional>

class LinkTextView;

// What one status poll learnt of the device, in the forms `orvex status`
// prints it. A value the poll did not get (no answer, a garbled reply) is
// unknown rather than left over from an earlier poll.
struct DeviceStatus
{
    int channel = -1; // 0..7
    std::optional<int> hpos, vpos;
    int black = -1, white = -1; // indexes of the level lists
    std::optional<std::array<bool, 8>> videoLoss;

    static DeviceStatus of(const LinkTextView &view);

    bool operator==(const DeviceStatus &other) const;
    bool operator!=(const DeviceStatus &other) const { return !(*this == other); }

    // One JSON object on one line.
    QString json() const;
    // One labelled value a line, for a person reading one answer.
    QString table() const;
    // Every value on one line, for a person watching changes go by.
    QString line() const;

    // Inputs 1..8 reported without video.
    QList<int> lostInputs() const;
};
