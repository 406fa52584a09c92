#pragma once

#include <QImage>
#include <QString>

// Pictures on disk, read and written by Qt's image plug-ins. Errors come
// back as sentences for the operator; empty means success.
namespace ImageFile {

// The largest picture read, across and down. Far more than a character
// sheet at any scale anyone draws at, and small enough that decoding it
// stays within what Qt agrees to allocate.
constexpr int MaxSide = 8192;

// Reads any format Qt knows into `image`. Only regular files are read, and
// a picture larger than MaxSide is refused from its header, before any of it
// is decoded.
QString load(const QString &fileName, QImage &image);

// Writes `image` as PNG through a temporary file in the same folder that
// replaces the old file only once complete, so a failed write never leaves
// a broken picture or destroys the previous one.
QString savePng(const QImage &image, const QString &fileName);

} // namespace ImageFile
