#pragma once

#include "MakeData.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <array>

// "データ作成" for all eight channels in one go: each channel whose text is
// not empty gets exactly what "データ作成" on that channel makes (its block
// from the text, its page cleared and the block placed from the channel's
// cell). Runs MakeData itself, so the eight-channel make and the
// one-channel make cannot drift apart.
class AllChannelsMake
{
public:
    struct Request
    {
        std::array<QString, Title::Channels> texts; // empty: the channel is kept
        QFont font;
        bool edging = true;
        std::array<int, Title::Channels> cells{};   // where each channel's block goes
        QString workFolder;                          // for "MyBmp.bmp", ending in "/"
    };

    struct Result
    {
        // The first channel (0..7) whose text cannot be stored, and why; -1
        // when every text can be.
        int refusedChannel = -1;
        BlockTextGuard::Problem refused = BlockTextGuard::Problem::None;
        std::array<bool, Title::Channels> made{};
        // Every rendering could write its work bitmap.
        bool bitmapWritten = true;
        // What each made channel's strip or row cut, as "データ作成" says
        // it; empty where nothing was.
        std::array<QString, Title::Channels> cutWarnings;

        bool done() const { return refusedChannel < 0; }
        // One line per channel that was cut, naming it: "CH3: ...".
        QStringList cutLines() const;
    };

    // Checks every text first: when one is refused nothing changes.
    // Otherwise makes the channels in order 1..8.
    static Result run(TitleData &data, const Request &request);
};
