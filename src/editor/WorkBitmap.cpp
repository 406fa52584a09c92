#include "WorkBitmap.h"

#include "core/FileSystem.h"

#include <utility>

WorkBitmap::WorkBitmap(const QString &folder) : m_fileName(folder + QStringLiteral("SetBmp.bmp")) {}

WorkBitmap::~WorkBitmap()
{
    writePending();
}

bool WorkBitmap::write(const QImage &image)
{
    m_pending = QImage();
    return FileSystem::rewriteBitmap(image, m_fileName);
}

void WorkBitmap::writeSoon(const QImage &image)
{
    const bool queued = !m_pending.isNull();
    m_pending = image;
    if (!queued)
        QMetaObject::invokeMethod(&m_context, [this] { writePending(); }, Qt::QueuedConnection);
}

void WorkBitmap::writePending()
{
    if (m_pending.isNull())
        return;
    const QImage image = std::exchange(m_pending, QImage());
    FileSystem::rewriteBitmap(image, m_fileName);
}
