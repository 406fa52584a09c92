#include "UserFolders.h"

#include "FileSystem.h"

#include "core/BuildInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Symbolic links and a trailing separator must not make an installed folder
// look like another one.
#ifdef Q_OS_UNIX
QString systemWords(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}
#endif

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

QString UserFolders::makeWritableFolder(const QString &folder)
{
    const QString clean = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
#ifdef Q_OS_UNIX
    // QDir::mkpath says only that it failed; the operator needs to know
    // whether to free space, fix a permission or remove a file in the way.
    const QStringList parts = clean.split(u'/', Qt::SkipEmptyParts);
    QString path;
    for (const QString &part : parts) {
        path += u'/' + part;
        const QByteArray name = QFile::encodeName(path);
        struct stat info = {};
        if (::stat(name.constData(), &info) == 0) {
            if (!S_ISDIR(info.st_mode))
                return QStringLiteral("%1 はフォルダーではありません").arg(path);
            continue;
        }
        const int statError = errno;
        if (statError != ENOENT)
            return QStringLiteral("%1 を調べられません: %2").arg(path, systemWords(statError));
        if (::mkdir(name.constData(), 0700) != 0) {
            const int mkdirError = errno;
            if (mkdirError != EEXIST)
                return QStringLiteral("フォルダー %1 を作れません: %2").arg(path, systemWords(mkdirError));
        }
    }
    if (::access(QFile::encodeName(clean).constData(), W_OK | X_OK) != 0) {
        const int accessError = errno;
        return QStringLiteral("フォルダー %1 に書き込めません: %2").arg(clean, systemWords(accessError));
    }
    return {};
#else
    const QFileInfo info(clean);
    if (info.exists() && !info.isDir())
        return QStringLiteral("%1 はフォルダーではありません").arg(clean);
    if (!QDir().mkpath(clean))
        return QStringLiteral("フォルダー %1 を作れません").arg(clean);
    return {};
#endif
}
