#pragma once

#include "TitleData.h"

#include <QByteArray>
#include <QString>

struct ZvxWriteResult
{
    bool ok = true;
    QString fileName;
    QString systemMessage;

    QString message() const;
};

// Writes ".zvx" data files: CR LF text, 16526 lines, block texts in code
// page 932 with spaces written as "!".
class ZvxWriter
{
public:
    // The file's bytes. Turns empty pixel codes into "01" in the store first,
    // which is why it takes the data by non-const reference.
    static QByteArray serialize(TitleData &data);

    // Writes through a temporary file in the same folder that replaces the
    // old file only once complete, so a failed save never destroys it.
    static ZvxWriteResult writeFile(const QString &fileName, TitleData &data);
};
