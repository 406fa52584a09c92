#pragma once

#include "core/TitleData.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

// How a bulk write ended.
enum class WriteOutcome {
    Done,       // every asked channel was written
    TimedOut,   // five lost replies
    PortFailed, // the port would not open (or the device went away)
    Refused,    // a page held a code the device cannot be sent; nothing went out
    Abandoned,  // the window was hidden or the program stopped mid-write
};

// What the engine knows about one bulk write once it has ended. A channel is
// complete when the device acknowledged its "PS1", the last frame of its
// part; a channel cut off before that holds an unknown mixture on the unit.
struct BulkWriteReport
{
    QString port; // the device (or address) the write used
    std::array<bool, Title::Channels> asked{};
    std::array<bool, Title::Channels> completed{};
    // SHA-256 of every frame of a completed channel, each once as sent
    // (replies and resends not included); empty for the others.
    std::array<QByteArray, Title::Channels> sha256;
    WriteOutcome outcome = WriteOutcome::Done;

    // Channel numbers 1..8.
    QList<int> askedChannels() const { return numbers(asked); }
    QList<int> completedChannels() const { return numbers(completed); }
    // Asked but not completed: what a resumed write must send.
    QList<int> unfinishedChannels() const;

    // The word the transfer log uses for `outcome`, and back (nullopt-like:
    // false when `name` is none of them).
    static QString outcomeName(WriteOutcome outcome);
    static bool outcomeFromName(const QString &name, WriteOutcome &outcome);

    // "1,3,8": the form of `orvex send --channels`.
    static QString channelList(const QList<int> &channels);

private:
    static QList<int> numbers(const std::array<bool, Title::Channels> &flags);
};
