#include "SiteMake.h"

#include <QDir>
#include <QFileInfo>

namespace SiteMake {

QString unitFile(const QString &folder, const QString &unit)
{
    return QDir(folder).filePath(unit + QStringLiteral(".zvx"));
}

TitlesMake::Outcome makeUnit(const SiteSchedule::Unit &unit, const QString &folder,
                             const TitlesMake::Settings &settings)
{
    const QString file = unitFile(folder, unit.name);
    // Anything at the name, a dangling link included, is read (and refused
    // if it is no title file) rather than silently replaced.
    const bool exists = QFileInfo(file).exists() || QFileInfo(file).isSymLink();
    return TitlesMake::run(exists ? file : QString(), unit.titles(), settings, file);
}

QList<Made> makeUnits(const SiteSchedule &schedule, const QString &folder, const TitlesMake::Settings &settings,
                      const QStringList &only)
{
    QList<Made> made;
    for (int i = 0; i < int(schedule.units.size()); ++i) {
        const SiteSchedule::Unit &unit = schedule.units[i];
        if (!only.isEmpty() && !only.contains(unit.name))
            continue;
        made << Made{i, unitFile(folder, unit.name), makeUnit(unit, folder, settings)};
    }
    return made;
}

} // namespace SiteMake
