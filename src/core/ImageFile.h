#pragma once

#include <QImage>
#include <QString>

// Pictures on disk, read and written by Qt's image plug-ins. Errors come
// back as sentences for the operator; empty means success.
namespace ImageFile {

// Reads any format Qt knows into `image`.
QString load(const QString &fileName, QImage &image);

// Writes `image` as PNG through a temporary file in the same folder that
// replaces the old file only once complete, so a failed write never leaves
// a broken picture or destroys the previous one.
QString savePng(const QImage &image, const QString &fileName);

} // namespace ImageFile
