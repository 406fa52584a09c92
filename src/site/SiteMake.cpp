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

} // namespace SiteMake
