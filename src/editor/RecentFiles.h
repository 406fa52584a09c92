#pragma once

#include <QString>
#include <QStringList>

// The data files used last, newest first, kept in the application's
// settings so that they outlive the program.
class RecentFiles
{
public:
    static constexpr int MaxFiles = 8;

    QStringList files() const;
    // Puts `fileName` first; an older entry for the same file goes, and
    // the list keeps at most MaxFiles entries.
    void add(const QString &fileName);
    void remove(const QString &fileName);

    // The folder of the last file opened or saved (by any file dialog, see
    // DialogFolder); empty before the first.
    QString lastFolder() const;

private:
    void store(const QStringList &files);
};
