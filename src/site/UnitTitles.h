#pragma once

#include "SiteSchedule.h"

#include "link/history/TransferLog.h"

#include <QDateTime>
#include <QList>
#include <QString>

// What each scheduled camera of a unit is in the three places it lives:
// the schedule, the unit's title file, and the unit itself as far as the
// transfer log knows (the last complete write of the channel to the unit's
// address), with the step that brings them together.
struct UnitTitles
{
    enum class Step {
        None,         // schedule, file and unit agree
        Make,         // the file is missing or older than a schedule that names another title
        Write,        // the file holds what the unit has not got (or may not hold)
        EditedInFile, // the file, saved after the schedule, holds another title than it
    };

    struct Camera
    {
        int channel = 0;   // 1..8
        QString scheduled; // empty: the schedule keeps the channel
        QString inFile;    // the file's text of the channel; empty without a file
        Step step = Step::None;
    };

    bool hasFile = false;
    QString fileError; // the file is there but cannot be read
    QList<Camera> cameras; // in the schedule's order

    // The unit's file must be made before a write sends what the schedule says.
    bool needsMake() const;

    // `scheduleTime`: when the schedule was saved; `log` as TransferLog::read gives it.
    static UnitTitles of(const SiteSchedule::Unit &unit, const QString &file, const QDateTime &scheduleTime,
                         const TransferLog::Contents &log);
};
