#pragma once

#include <QByteArray>
#include <QString>

class QImage;

// Small path and text routines shared by the data file, the work bitmaps and
// the device link.
namespace FileSystem {

// The folder holding the running executable, always ending in "/" (the root
// folder gives a single "/"). Also remembered as the last result.
QString GetAppPath();
QString lastAppPath();

// Overwrites, in place, every occurrence of the one-character `find`
// (compared case-insensitively) with the first character of `replacement`.
void ReplaceAll(QString &text, const QString &find, const QString &replacement);

// Two lower-case hexadecimal digits per byte, no separators.
QString BytesToHex(const QByteArray &bytes);

// Writes `image` to `fileName` as a Windows bitmap. The work bitmaps are
// rewritten over and over with the same size, so the old contents are
// overwritten in place: truncating first makes the file system free and
// reallocate the blocks each time, which costs milliseconds a write where
// freed blocks are discarded at once. False when it cannot be written.
bool rewriteBitmap(const QImage &image, const QString &fileName);

// Helper for GetAppPath, split out so the trailing-separator rule can be
// checked without moving the executable.
QString withTrailingSeparator(const QString &folder);

} // namespace FileSystem
