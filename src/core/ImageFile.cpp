#include "ImageFile.h"

#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace ImageFile {

QString load(const QString &fileName, QImage &image)
{
    QImageReader reader(fileName);
    QImage read;
    if (!reader.read(&read))
        return QStringLiteral("画像「%1」を読み込めませんでした。\n%2").arg(fileName, reader.errorString());
    image = read;
    return {};
}

QString savePng(const QImage &image, const QString &fileName)
{
    QSaveFile file(fileName);
    QString why;
    if (!file.open(QIODevice::WriteOnly)) {
        why = file.errorString();
    } else {
        QImageWriter writer(&file, "png");
        if (!writer.write(image))
            why = writer.errorString();
        else if (!file.commit())
            why = file.errorString();
    }
    if (why.isEmpty())
        return {};
    file.cancelWriting();
    return QStringLiteral("画像「%1」を保存できませんでした。\n%2").arg(fileName, why);
}

} // namespace ImageFile
