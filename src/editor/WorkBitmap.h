#pragma once

#include <QImage>
#include <QString>

// The work file "SetBmp.bmp" in the work folder, through which every tile
// image travels on its way into a screen cell: written as a Windows bitmap,
// then loaded back.
class WorkBitmap
{
public:
    // `folder` ends in a separator.
    explicit WorkBitmap(const QString &folder);

    QString fileName() const { return m_fileName; }

    // Writes `image` to the work file and returns what loads back from it.
    // When the folder cannot be written or the file read, returns `image`
    // itself so that a screen cell never goes blank because of the work
    // file.
    QImage roundTrip(const QImage &image);

    // Whether the last round trip really went through the file.
    bool lastUsedFile() const { return m_lastUsedFile; }

private:
    QString m_fileName;
    bool m_lastUsedFile = false;
};
