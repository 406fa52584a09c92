#include "WorkBitmap.h"

#include "core/FileSystem.h"

WorkBitmap::WorkBitmap(const QString &folder) : m_fileName(folder + QStringLiteral("SetBmp.bmp")) {}

bool WorkBitmap::write(const QImage &image)
{
    return FileSystem::rewriteBitmap(image, m_fileName);
}
