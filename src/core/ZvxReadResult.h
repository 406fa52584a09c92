#pragma once

#include "TitleNormaliser.h"

#include <QString>

// Result of reading a data file: whether it could be read, and everything
// about it that makes the title as opened differ from the file.
struct ZvxReadResult
{
    enum class Error { None, CannotOpen, NotRegularFile, ReadFailed, NumberOutOfRange, FieldTooLong };
    // The first item a file that ends early did not give whole.
    enum class Unread { Nothing, Everything, BlockText, CharacterCode, ScreenPage };

    Error error = Error::None;
    QString fileName;
    qint64 line = 0;       // where the failing field starts, for NumberOutOfRange and FieldTooLong
    QString field;         // the failing field, for NumberOutOfRange
    QString systemMessage; // the platform's words for CannotOpen / ReadFailed, ours for NotRegularFile

    // The first field is not the format's tag (or there is none).
    bool tagMissing = false;
    // Where a file that ends before its last screen page stopped: the last
    // line holding a field (0 for an empty file) and the first item not read
    // whole, with its number (block 0..9, code 0..255, page 0..9).
    Unread unread = Unread::Nothing;
    int unreadNumber = 0;
    qint64 lastLine = 0;

    // What load() changed so that the data can be saved again; empty after read().
    TitleNormaliser::Report normalised;

    bool ok() const { return error == Error::None; }
    bool endsEarly() const { return unread != Unread::Nothing; }
    // The title as opened is not what the file holds, so saving it writes
    // something else: the document must count as modified from the start.
    bool changedOnOpening() const { return ok() && (tagMissing || endsEarly() || !normalised.isEmpty()); }

    // A sentence for the operator, in the program's language.
    QString message() const;
    // The sentences telling the operator how the title as opened differs
    // from the file; empty when it does not.
    QString notice() const;
};
