#pragma once

#include <QString>

// Where the file dialogs open. Every file dialog of the editor (data files
// and pictures alike) shares one folder used last, kept with the
// application's settings so that it outlives the program.
namespace DialogFolder {

// The folder last used while it still exists; before that (or once it is
// gone) the program's own folder. Ends in a separator.
QString start(const QString &lastUsed, const QString &programFolder);

// The folder of the file last opened or saved through a dialog, the
// recent files or a drop; empty before the first.
QString lastUsed();
// `fileName` was opened or saved: its folder is where dialogs start next.
void remember(const QString &fileName);

} // namespace DialogFolder
