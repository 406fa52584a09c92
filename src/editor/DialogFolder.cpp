#include "DialogFolder.h"

#include <QDir>
#include <QFileInfo>

QString DialogFolder::start(const QString &lastUsed, const QString &programFolder)
{
    if (!lastUsed.isEmpty() && QFileInfo(lastUsed).isDir()) {
        const QString folder = QDir::fromNativeSeparators(lastUsed);
        return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    }
    return programFolder;
}
