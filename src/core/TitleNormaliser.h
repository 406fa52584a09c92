#pragma once

#include "TitleData.h"

#include <QList>
#include <QString>

// Brings title data read from a file of another origin into the shape the
// data file can hold, so that the next save opens again to the same data:
// a block text loses its line breaks (each becomes a space) and any
// character code page 932 cannot hold (it becomes "?"); a dot whose code is
// none of "00", "01", "10" or the empty text becomes transparent.
class TitleNormaliser
{
public:
    struct Report
    {
        QList<int> blocks; // block texts changed, 0..9
        QList<int> codes;  // character codes with a dot changed, 0..255

        bool isEmpty() const { return blocks.isEmpty() && codes.isEmpty(); }
        // One sentence for the operator naming what was changed, empty when
        // nothing was.
        QString message(const QString &fileName) const;
    };

    static Report normalise(TitleData &data);

    // A block text as the data file gives it back after a save.
    static QString storableText(const QString &text);
};
