#pragma once

#include "SaveTarget.h"
#include "TitleData.h"

#include <QByteArray>
#include <QString>

using ZvxWriteResult = SaveTarget::Result;

// Writes ".zvx" data files: CR LF text, 16526 lines, block texts in code
// page 932 with spaces written as "!". A block text holding "," is written
// as a quoted field, which the reader takes whole; every other line is
// written bare.
class ZvxWriter
{
public:
    // The file's bytes. Turns empty pixel codes into "01" in the store first,
    // which is why it takes the data by non-const reference.
    static QByteArray serialize(TitleData &data);

    // Writes through a temporary file in the same folder that replaces the
    // old file only once complete, so a failed save never destroys it.
    // Refuses targets that are not regular files (SaveTarget).
    static ZvxWriteResult writeFile(const QString &fileName, TitleData &data);
};
