#include "RecentFiles.h"

#include <QFileInfo>
#include <QSettings>

namespace {
const QString FilesKey = QStringLiteral("recentFiles");
const QString FolderKey = QStringLiteral("lastFolder");
} // namespace

QStringList RecentFiles::files() const
{
    return QSettings().value(FilesKey).toStringList();
}

void RecentFiles::add(const QString &fileName)
{
    const QFileInfo info(fileName);
    const QString path = info.absoluteFilePath();
    QStringList list = files();
    list.removeAll(path);
    list.prepend(path);
    store(list);
    QSettings().setValue(FolderKey, info.absolutePath());
}

void RecentFiles::remove(const QString &fileName)
{
    QStringList list = files();
    list.removeAll(QFileInfo(fileName).absoluteFilePath());
    store(list);
}

QString RecentFiles::lastFolder() const
{
    return QSettings().value(FolderKey).toString();
}

void RecentFiles::store(const QStringList &files)
{
    QSettings().setValue(FilesKey, files.mid(0, MaxFiles));
}
