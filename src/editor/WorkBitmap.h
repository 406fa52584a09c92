#pragma once

#include <QImage>
#include <QString>
#include <QObject>

// The work file "SetBmp.bmp" in the work folder. It holds, as a Windows
// bitmap, the tile image last shown in a screen cell. The cells themselves
// are drawn from the images in memory, so the file is written once per
// redraw or placement, and a folder that cannot be written (an installed
// program's folder usually cannot) leaves the grid as it is.
class WorkBitmap
{
public:
    // `folder` ends in a separator.
    explicit WorkBitmap(const QString &folder);
    // Writes an image still waiting from writeSoon.
    ~WorkBitmap();

    QString fileName() const { return m_fileName; }

    // Whether the file now holds `image`. Replaces an image still waiting.
    bool write(const QImage &image);
    // Writes `image` once control is back in the event loop. The first
    // write of a process loads every image plugin Qt has, which the window
    // need not wait for before it first appears.
    void writeSoon(const QImage &image);

private:
    void writePending();

    QString m_fileName;
    QImage m_pending;
    // Ends the queued write with the bitmap.
    QObject m_context;
};
