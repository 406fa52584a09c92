#include "UserFolders.h"

#include "FileSystem.h"

#include "core/BuildInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// Symbolic links and a trailing separator must not make an installed folder
// look like another one.
QString comparable(const QString &folder)
{
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return QDir::cleanPath(canonical.isEmpty() ? info.absoluteFilePath() : canonical);
}

} // namespace

bool UserFolders::keepsProgramFolder(const QString &programFolder, const QStringList &installedFolders)
{
    const QString mine = comparable(programFolder);
    for (const QString &folder : installedFolders) {
        if (comparable(folder) == mine)
            return false;
    }
    const QFileInfo info(programFolder);
    return info.isDir() && info.isWritable();
}

UserFolders UserFolders::perUser()
{
    UserFolders folders;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    // A cache folder that cannot be made still names a place: the work
    // bitmap then stays in memory, as it does for any unwritable file.
    QDir().mkpath(cache);
    folders.work = FileSystem::withTrailingSeparator(cache);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    folders.dialogs = QFileInfo(documents).isDir() ? documents : QDir::homePath();
    return folders;
}

QStringList UserFolders::installedProgramFolders()
{
    return QString::fromUtf8(BuildInfo::InstalledProgramFolders).split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

QString UserFolders::state()
{
#ifdef Q_OS_WIN
    // Both programs must find the same log, so not a per-program folder.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/orvex");
#else
    // Qt has no location for this; the XDG rule is simple enough to follow
    // here, and a relative value is to be ignored.
    const QString configured = qEnvironmentVariable("XDG_STATE_HOME");
    const QString base = QDir::isAbsolutePath(configured) ? configured
                                                          : QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(base + QStringLiteral("/orvex"));
#endif
}

UserFolders UserFolders::forProgram(const QString &programFolder)
{
    if (keepsProgramFolder(programFolder, installedProgramFolders()))
        return {programFolder, programFolder};
    return perUser();
}
