#pragma once

#include <QString>
#include <QStringList>

// Where a program keeps its work bitmaps and where its file dialogs start.
// A build tree keeps both in the program's own folder, as the programs always
// have. An installed copy never writes next to its binary (not even for root,
// who could): it works in the user's cache folder and opens and saves in the
// user's documents folder.
struct UserFolders
{
    QString work;     // ends in a separator
    QString dialogs;

    // For the program in `programFolder` (ending in a separator). Creates the
    // cache folder when it is chosen.
    static UserFolders forProgram(const QString &programFolder);

    // Whether the program in `programFolder` may keep working there: a
    // writable folder that is none of `installedFolders`.
    static bool keepsProgramFolder(const QString &programFolder, const QStringList &installedFolders);

    // The cache location and the documents folder (home while there is no
    // documents folder yet).
    static UserFolders perUser();

    // Where the programs keep what they record for the user (the transfer
    // log): $XDG_STATE_HOME/orvex, ~/.local/state/orvex when that is unset
    // or not an absolute path, the platform's app-data folder on Windows.
    // Not created here.
    static QString state();

    // Makes `folder` and the folders above it where they are missing.
    // Empty when it is then a folder the program may write in; otherwise the
    // real reason, in the program's words (not a folder, no permission, a
    // read-only file system, a full disk...).
    static QString makeWritableFolder(const QString &folder);

    // The folders this build installs its programs to.
    static QStringList installedProgramFolders();
};
