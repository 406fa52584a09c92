#pragma once

#include <QByteArray>
#include <QString>

// Adds one line to a log that several writers append to at once: the line
// goes out in a single write() on a descriptor opened for appending, so
// the system puts each line whole at the end of the file, never one line
// inside another and never one over another.
namespace AppendLine {

// Appends `line` and a line feed to `path`, creating the file and its
// folder when needed. Empty when it was written, otherwise why not.
QString append(const QString &path, const QByteArray &line);

} // namespace AppendLine
