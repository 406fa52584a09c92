#include "WorkBitmap.h"

WorkBitmap::WorkBitmap(const QString &folder) : m_fileName(folder + QStringLiteral("SetBmp.bmp")) {}

QImage WorkBitmap::roundTrip(const QImage &image)
{
    m_lastUsedFile = false;
    if (!image.save(m_fileName, "BMP"))
        return image;
    QImage loaded;
    if (!loaded.load(m_fileName, "BMP") || loaded.size() != image.size())
        return image;
    m_lastUsedFile = true;
    return loaded;
}
