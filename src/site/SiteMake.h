#pragma once

#include "SiteSchedule.h"
#include "TitlesMake.h"

#include <QString>

// Each unit's title file of a site: "<unit>.zvx" in the site folder, made
// from the unit's cameras as `orvex titles` makes a title from its list.
// A file already there is updated in place: the channels the schedule does
// not name keep what they hold.
namespace SiteMake {

QString unitFile(const QString &folder, const QString &unit);

TitlesMake::Outcome makeUnit(const SiteSchedule::Unit &unit, const QString &folder,
                             const TitlesMake::Settings &settings);

} // namespace SiteMake
