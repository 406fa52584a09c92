#include "ImageFile.h"

#include "ReadableFile.h"
#include "SaveTarget.h"

#include <QFile>
#include <QImageReader>
#include <QImageWriter>

namespace ImageFile {

namespace {

QString cannotRead(const QString &fileName, const QString &why)
{
    return QStringLiteral("画像「%1」を読み込めませんでした。\n%2").arg(fileName, why);
}

// Qt's reasons are for programmers; these are the operator's.
QString readerTrouble(const QImageReader &reader)
{
    switch (reader.error()) {
    case QImageReader::UnsupportedFormatError:
        return QStringLiteral("画像ではないか、読めない形式の画像です。");
    case QImageReader::InvalidDataError:
        return QStringLiteral("画像のデータが壊れています。");
    case QImageReader::DeviceError:
        return QStringLiteral("ファイルを読み込めませんでした。");
    default:
        return reader.errorString();
    }
}

} // namespace

QString load(const QString &fileName, QImage &image)
{
    QFile file;
    const ReadableFile::Opened opened = ReadableFile::open(fileName, file);
    if (!opened.ok())
        return cannotRead(fileName, opened.error);
    QImageReader reader(&file);
    // The header gives the size; a huge picture is refused before Qt tries
    // to allocate it.
    const QSize size = reader.size();
    if (size.width() > MaxSide || size.height() > MaxSide)
        return cannotRead(fileName, QStringLiteral("%1 x %2 ピクセルあり、読み込める大きさ（縦横とも %3 ピクセルまで）を"
                                                   "超えています。")
                                        .arg(size.width())
                                        .arg(size.height())
                                        .arg(MaxSide));
    // Within that size Qt's own allocation limit must not refuse instead,
    // for the formats pictures decode to (up to 8 bytes a pixel, 16-bit PNG).
    reader.setAllocationLimit(int(qint64(MaxSide) * MaxSide * 8 / (1024 * 1024)));
    QImage read;
    if (!reader.read(&read))
        return cannotRead(fileName, readerTrouble(reader));
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
