#pragma once

#include <QString>

// The file a title belongs to: where "保存" writes, and whether it has
// been used yet (an empty `last` makes "保存" ask for a name).
struct TitleFileNames
{
    QString data; // the file the title was last opened from or saved to
    QString last; // empty until a file command completes

    bool operator==(const TitleFileNames &) const = default;
};
