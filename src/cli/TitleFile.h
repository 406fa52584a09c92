#pragma once

#include "core/TitleData.h"
#include "render/BlockTextGuard.h"

#include <QImage>
#include <QString>

#include <memory>

// Reading and writing shared by the subcommands that take a data file.
namespace Cli {

// The editor's start-up title, on the heap: it is too large for the stack.
std::unique_ptr<TitleData> startTitle();

// The editor's start-up title with `fileName` read over it, or nothing
// after telling the operator why the file could not be read. How the title
// differs from the file (no tag, ended early, changed to be saved again) is
// said on stderr.
std::unique_ptr<TitleData> readTitle(const QString &fileName);

// readTitle, or the editor's start-up title for "-".
std::unique_ptr<TitleData> readTitleOrEmpty(const QString &fileName);

// A text the data file cannot keep was refused: why, on one line in the
// words the editor uses, and that `fileName` was not written.
QString textRefused(BlockTextGuard::Problem problem, const QString &text, const QString &fileName);

// Rendering went on without its work bitmap in `workFolder`: says so.
void noteBitmapNotWritten(const QString &workFolder);

// Writes `image` as PNG, replacing the file only once the picture is
// complete; on failure says so on stderr and returns false.
bool savePng(const QImage &image, const QString &fileName);

// Writes the data file the same way.
bool writeTitle(TitleData &data, const QString &fileName);

} // namespace Cli
