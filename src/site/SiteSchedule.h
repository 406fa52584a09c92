#pragma once

#include "core/TitleData.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <optional>

struct SiteScheduleRead;

// The camera schedule of a site: which cameras each unit shows, as an
// installer keeps them in a spreadsheet and saves them as CSV. A header
// line names the columns, in any order: unit (装置), address (アドレス),
// channel (チャンネル, CH) and title (タイトル, カメラ名), the English names in
// any case; other columns are the installer's notes and are ignored. Each
// further line is one camera.
//
// Japanese Excel saves "CSV" in code page 932, its "CSV UTF-8" with a
// byte-order mark; both are read, told apart by the bytes (valid UTF-8 is
// UTF-8). Whatever the sheet says is checked before anything is made or
// written: every refusal names the line and the column.
struct SiteSchedule
{
    struct Camera
    {
        int channel = 0; // 1..8
        QString title;   // empty: the channel is kept as it is
        int line = 0;
    };

    struct Unit
    {
        QString name;    // also its title file's name, "<name>.zvx"
        QString address; // as the sheet gives it; empty when none
        int addressLine = 0;
        QList<Camera> cameras; // in the order of the sheet

        // The titles by channel, empty for channels the schedule does not name.
        std::array<QString, Title::Channels> titles() const;
        const Camera *camera(int channel) const;
    };

    QList<Unit> units; // in the order they first appear

    const Unit *unit(const QString &name) const;

    using Read = SiteScheduleRead;

    // The schedule in `bytes` (the whole file).
    static Read parse(const QByteArray &bytes);
    // The schedule in a regular file of at most MaxBytes.
    static Read readFile(const QString &fileName);

    static constexpr qint64 MaxBytes = 1 << 20;
};

// A schedule read, or why not.
struct SiteScheduleRead
{
    std::optional<SiteSchedule> schedule;
    QString error; // "line 4, column channel: ...", or why the file is not read
    bool unreadable = false; // the file could not be read at all, rather than refused
};
