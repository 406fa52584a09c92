#pragma once

#include <QIODevice>
#include <QString>

#include <functional>

// Saving goes through a temporary file that is renamed over the target once
// complete, so a failed save never leaves a half-written file behind. The
// rename would also replace a device, a pipe or a folder's entry of another
// kind with a regular file, so such targets are refused before anything is
// written.
class SaveTarget
{
public:
    struct Result
    {
        bool ok = true;
        QString fileName;
        QString systemMessage; // what went wrong, in the platform's or the program's words
        bool existed = false;  // a file of that name was there before the save

        // A sentence for the operator; empty when the save succeeded.
        QString message() const;
    };

    // Empty when `fileName` may be saved to: it does not exist yet, or it is
    // a regular file or a link to one. Otherwise why not.
    static QString refusal(const QString &fileName);

    // Checks the target, then lets `write` fill the temporary file and
    // commits it. `write` returns false when it could not write everything.
    static Result save(const QString &fileName, const std::function<bool(QIODevice &)> &write);
};
