#pragma once

#include "core/TitleData.h"
#include "render/AllChannelsMake.h"

#include <QFont>
#include <QString>

#include <array>

// A title file made from one title per channel, as "データ作成" makes each
// on its channel: read (or the editor's start-up title), the channels with a
// title made, written whole. `orvex titles` and the site's units go through
// this one path, so a unit's file is the very file `titles` would make.
namespace TitlesMake {

struct Settings
{
    QFont font;
    bool edging = true;
    int cell = 0;       // where every channel's block goes
    QString workFolder; // for the work bitmap, ending in a separator
};

struct Outcome
{
    QString error;  // reading or writing failed: nothing was written
    QString notice; // how the title read differs from its file; empty when it does not
    AllChannelsMake::Result made; // with what the strip or the row cut from each title
    bool written = false;
};

// Makes `texts` (empty: the channel is kept) into the title of `in`, or
// into the start-up title when `in` is empty, and writes it to `out`. A
// refused text leaves `out` untouched (made.done() is false).
Outcome run(const QString &in, const std::array<QString, Title::Channels> &texts, const Settings &settings,
            const QString &out);

} // namespace TitlesMake
