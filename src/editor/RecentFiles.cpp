#include "RecentFiles.h"

#include "DialogFolder.h"

#include <QFileInfo>
#include <QSettings>

namespace {
const QString FilesKey = QStringLiteral("recentFiles");
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
    DialogFolder::remember(path);
}

void RecentFiles::remove(const QString &fileName)
{
    QStringList list = files();
    list.removeAll(QFileInfo(fileName).absoluteFilePath());
    store(list);
}

QString RecentFiles::lastFolder() const
{
    return DialogFolder::lastUsed();
}

void RecentFiles::store(const QStringList &files)
{
    QSettings().setValue(FilesKey, files.mid(0, MaxFiles));
}
