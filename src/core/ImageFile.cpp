#include "ImageFile.h"

#include "SaveTarget.h"

#include <QImageReader>
#include <QImageWriter>

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
    QString why;
    const SaveTarget::Result saved = SaveTarget::save(fileName, [&](QIODevice &file) {
        QImageWriter writer(&file, "png");
        if (writer.write(image))
            return true;
        why = writer.errorString();
        return false;
    });
    if (saved.ok)
        return {};
    return QStringLiteral("画像「%1」を保存できませんでした。\n%2")
        .arg(fileName, why.isEmpty() ? saved.message() : why);
}

} // namespace ImageFile
