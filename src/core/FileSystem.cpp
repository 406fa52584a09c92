#include "FileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

namespace FileSystem {

namespace {
QString AppPath;
}

QString withTrailingSeparator(const QString &folder)
{
    const QChar sep = QDir::separator();
    QString path = QDir::toNativeSeparators(folder);
    if (path.isEmpty() || !path.endsWith(sep))
        path.append(sep);
    return path;
}

QString GetAppPath()
{
    QString folder;
    if (QCoreApplication::instance())
        folder = QCoreApplication::applicationDirPath();
    if (folder.isEmpty())
        folder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2);
    AppPath = withTrailingSeparator(folder);
    return AppPath;
}

QString lastAppPath()
{
    return AppPath;
}

void ReplaceAll(QString &text, const QString &find, const QString &replacement)
{
    if (find.isEmpty() || replacement.isEmpty())
        return;
    const QChar with = replacement.at(0);
    qsizetype from = 0;
    while ((from = text.indexOf(find, from, Qt::CaseInsensitive)) >= 0) {
        text[from] = with;
        // A replacement that itself matches `find` would loop for ever;
        // continuing after the overwritten character keeps the same result
        // for every caller (" " and "!" differ).
        ++from;
    }
}

bool rewriteBitmap(const QImage &image, const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    // Whatever lay beyond the new end (a larger older file) goes.
    return image.save(&file, "BMP") && file.resize(file.pos());
}

QString BytesToHex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex());
}

} // namespace FileSystem
