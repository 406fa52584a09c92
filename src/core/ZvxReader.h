#pragma once

#include "TitleData.h"
#include "TitleNormaliser.h"

#include <QIODevice>
#include <QString>

// Result of reading a data file.
struct ZvxReadResult
{
    enum class Error { None, CannotOpen, ReadFailed, NumberOutOfRange, FieldTooLong };

    Error error = Error::None;
    QString fileName;
    qint64 line = 0;       // where the failing field starts, for NumberOutOfRange and FieldTooLong
    QString field;         // the failing field, for NumberOutOfRange
    QString systemMessage; // the platform's words for CannotOpen / ReadFailed
    // What load() changed so that the data can be saved again; empty after read().
    TitleNormaliser::Report normalised;

    bool ok() const { return error == Error::None; }
    // A sentence for the operator, in the program's language.
    QString message() const;
    // The sentence telling the operator what was changed on loading, empty
    // when nothing was.
    QString notice() const { return normalised.message(fileName); }
};

// Reads ".zvx" data files: the tag, ten block texts, the character memory
// and the screen pages, field by field. Elements the file does not reach keep
// their previous values; fields past the last page are ignored.
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
    // load() from the named file.
    static ZvxReadResult readFile(const QString &fileName, TitleData &data);

    // The leading number of a screen field rounded to the nearest integer
    // (halves to even), 0 when the field holds no number. Sets `ok` false
    // when the value does not fit in a byte, a value too large for a double
    // included.
    static int screenNumber(const QByteArray &field, bool &ok);
};
