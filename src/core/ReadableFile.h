#pragma once

#include <QFile>
#include <QString>

// Opening a file for reading without ever waiting on it. A named pipe, a
// terminal or another device can keep open() or read() waiting for a writer
// that never comes, and a program stuck there cannot even redraw its window;
// so only regular files (or links to one) are read. The check is made before
// anything is opened, and again on what was opened, in case the name was
// replaced by something else in between.
class ReadableFile
{
public:
    // Empty when `fileName` names a regular file or a link to one, or
    // nothing at all (opening then says the file is missing). Otherwise
    // why it is not read, in the program's language.
    static QString refusal(const QString &fileName);

    struct Opened
    {
        QString error;           // empty when the file is open
        bool notRegular = false; // refused for its kind rather than failed to open

        bool ok() const { return error.isEmpty(); }
    };

    // Opens `fileName` into `file` for reading. On failure the error is the
    // platform's words for a failed open or refusal()'s for a file of
    // another kind, and `file` stays closed.
    static Opened open(const QString &fileName, QFile &file);
};
