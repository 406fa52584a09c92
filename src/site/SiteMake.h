#pragma once

#include "SiteSchedule.h"
#include "TitlesMake.h"

#include <QList>
#include <QString>
#include <QStringList>

// Each unit's title file of a site: "<unit>.zvx" in the site folder, made
// from the unit's cameras as `orvex titles` makes a title from its list.
// A file already there is updated in place: the channels the schedule does
// not name keep what they hold.
namespace SiteMake {

QString unitFile(const QString &folder, const QString &unit);

TitlesMake::Outcome makeUnit(const SiteSchedule::Unit &unit, const QString &folder,
                             const TitlesMake::Settings &settings);

struct Made
{
    int unit = 0; // its place in the schedule's units
    QString file; // as unitFile() names it
    TitlesMake::Outcome outcome;

    // The file was written with every title of the unit.
    bool ok() const { return outcome.error.isEmpty() && outcome.made.done(); }
};

// Every unit's file, or those named in `only`, in the schedule's order: the
// one loop `orvex site make` and the site window's "すべて作成" both run.
// A unit that fails stops no other.
QList<Made> makeUnits(const SiteSchedule &schedule, const QString &folder, const TitlesMake::Settings &settings,
                      const QStringList &only = {});

} // namespace SiteMake
