#include "DialogFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
const QString FolderKey = QStringLiteral("lastFolder");
} // namespace

QString DialogFolder::start(const QString &lastUsed, const QString &programFolder)
{
    if (!lastUsed.isEmpty() && QFileInfo(lastUsed).isDir()) {
        const QString folder = QDir::fromNativeSeparators(lastUsed);
        return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    }
    return programFolder;
}

QString DialogFolder::lastUsed()
{
    return QSettings().value(FolderKey).toString();
}

void DialogFolder::remember(const QString &fileName)
{
    QSettings().setValue(FolderKey, QFileInfo(fileName).absolutePath());
}
