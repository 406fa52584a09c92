#pragma once

#include "core/TitleData.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <array>
#include <optional>

// How a bulk write ended.
enum class WriteOutcome {
    Done,       // every asked channel was written
    TimedOut,   // five lost replies
    PortFailed, // the port would not open (or the device went away)
    Refused,    // a page held a code the device cannot be sent; nothing went out
    Abandoned,  // the window was hidden or the program stopped mid-write
    LineFault,  // what came back was not the unit's own answer (an echo, noise, another device)
};

// One bulk write, from the engine's report to a line of the transfer log.
// The engine fills in what it knows when the write ends (port, channels,
// hashes, outcome); the recorder stamps the time, the program and the
// title's file. A channel is complete when the device acknowledged its
// "PS1", the last frame of its part; a channel cut off before that holds an
// unknown mixture on the unit. Anyone can check a record against a title
// file: the hashes are those of the exact frames a channel's write sends.
struct TransferRecord
{
    QString port; // the device or address as used
    std::array<bool, Title::Channels> asked{};
    std::array<bool, Title::Channels> completed{};
    // SHA-256 of the 43 frames of a completed channel, each once as the
    // unit took it (replies, resends and frames lost with a connection not
    // included); empty for the others.
    std::array<QByteArray, Title::Channels> sha256;
    WriteOutcome outcome = WriteOutcome::Done;
    int resent = 0;     // frames sent again after a lost or unclean reply
    int reconnects = 0; // connections made again in the middle of the write

    QDateTime time;        // when the write ended
    QString program;       // "orvex-editor", "orvex"
    QString file;          // the title's file; empty when it has none
    bool modified = false; // the title had edits not saved to `file`, so the file holds other frames
    // A write run by a far computer's engine: the name both computers'
    // logs know it by, so the far one can be asked what it did. Empty for
    // a write made here.
    QString id;

    // Channel numbers 1..8.
    QList<int> askedChannels() const { return numbers(asked); }
    QList<int> completedChannels() const { return numbers(completed); }
    // Asked but not completed: what a resumed write must send.
    QList<int> unfinishedChannels() const;

    // One line of compact JSON without the line end, keys in alphabetical
    // order: channels, completed, file (only when there is one), id (only
    // when there is one), modified (only when true), port, program,
    // reconnects and resent (only when not 0), result, sha256
    // ({"1": "<hex>", ...}), time.
    QByteArray toJson() const;
    // Nothing when `line` is not such a record.
    static std::optional<TransferRecord> fromJson(const QByteArray &line);

    // The word the log's "result" uses for `outcome`, and back (false when
    // `name` is none of them).
    static QString outcomeName(WriteOutcome outcome);
    static bool outcomeFromName(const QString &name, WriteOutcome &outcome);

    // "1,3,8": the form of `orvex send --channels`.
    static QString channelList(const QList<int> &channels);

    // The time as written: ISO 8601 with the zone.
    static QString timeText(const QDateTime &time);

private:
    static QList<int> numbers(const std::array<bool, Title::Channels> &flags);
};
