#pragma once

#include "TitleData.h"
#include "ZvxReadResult.h"

#include <QIODevice>
#include <QString>

// Reads ".zvx" data files: the tag, ten block texts, the character memory
// and the screen pages, field by field. Elements the file does not reach keep
// their previous values; fields past the last page are ignored. A file of
// another kind reads the same way, as it always has, but the result says
// that its tag is missing or that it ended before the title did.
class ZvxReader
{
public:
    // Reads straight into `data`. On an error `data` keeps what was read
    // before the failing field, so callers that must not be left half-loaded
    // use readFile().
    static ZvxReadResult read(QIODevice &device, TitleData &data);

    // Reads into a copy of `data` and commits it only when the whole read
    // succeeded; on any error `data` is untouched. What was read is brought
    // into a shape the next save keeps (TitleNormaliser); the result says
    // what that changed.
    static ZvxReadResult load(QIODevice &device, TitleData &data);
    // load() from the named file, which must be a regular file or a link to
    // one (anything else is refused unopened, see ReadableFile).
    static ZvxReadResult readFile(const QString &fileName, TitleData &data);

    // The leading number of a screen field rounded to the nearest integer
    // (halves to even), 0 when the field holds no number. Sets `ok` false
    // when the value does not fit in a byte, a value too large for a double
    // included.
    static int screenNumber(const QByteArray &field, bool &ok);
};
