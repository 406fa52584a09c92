#pragma once

#include "core/TitleData.h"

#include <QMap>
#include <QUndoCommand>

#include <vector>

class StepListener;

// Character patterns replaced, as one undo step. Only the codes whose
// pattern really changed are kept; a step that changes nothing is obsolete,
// so pushing it leaves the undo stack (and the modified mark) alone.
class PatternEdit : public QUndoCommand
{
public:
    using Patterns = QMap<int, CharPattern>;

    // Records an edit already made to `data`: `before` holds the replaced
    // patterns by code, the new ones are read from `data` now.
    PatternEdit(TitleData &data, StepListener &listener, const Patterns &before, const QString &text,
                QUndoCommand *parent = nullptr);

    // Writes `patterns` into `data` and returns the step that records it,
    // ready to push: the one way to replace a set of patterns undoably.
    static PatternEdit *replace(TitleData &data, StepListener &listener, const Patterns &patterns,
                                const QString &text, QUndoCommand *parent = nullptr);

    // The patterns of `count` codes from `first` on, as `before` wants them.
    static Patterns snapshot(const TitleData &data, int first, int count);

    void undo() override;
    void redo() override;

private:
    struct Change
    {
        int code;
        CharPattern before;
        CharPattern after;
    };

    void apply(CharPattern Change::*side);

    TitleData &m_data;
    StepListener &m_listener;
    std::vector<Change> m_changes;
};
