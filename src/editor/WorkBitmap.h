#pragma once

#include <QImage>
#include <QString>

// The work file "SetBmp.bmp" in the program folder. It holds, as a Windows
// bitmap, the tile image last shown in a screen cell. The cells themselves
// are drawn from the images in memory, so the file is written once per
// redraw or placement, and a folder that cannot be written (an installed
// program's folder usually cannot) leaves the grid as it is.
class WorkBitmap
{
public:
    // `folder` ends in a separator.
    explicit WorkBitmap(const QString &folder);

    QString fileName() const { return m_fileName; }

    // Whether the file now holds `image`.
    bool write(const QImage &image);

private:
    QString m_fileName;
};
