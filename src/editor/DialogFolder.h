#pragma once

#include <QString>

// Where the file dialogs open.
namespace DialogFolder {

// The folder last used while it still exists; before that (or once it is
// gone) the program's own folder. Ends in a separator.
QString start(const QString &lastUsed, const QString &programFolder);

} // namespace DialogFolder
