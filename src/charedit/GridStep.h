#pragma once

#include "KakudaiGrid.h"

#include <QUndoCommand>

// What the enlarged editor shows of the operator's unsaved edits: the grid,
// and the stored pattern the edits on it were begun from. When the store
// moves on under the edits the two differ, and saving them would silently
// undo someone else's change.
struct EditedGrid
{
    KakudaiGrid grid;
    KakudaiGrid base;

    bool operator==(const EditedGrid &) const = default;
};

// One of the operator's unsaved edits in the enlarged editor, as the whole
// grid before and after: 216 colours are cheaper to keep than to work out
// what a shift or a fill touched. Undo gives back the pattern the edits
// were begun from as well, so edits brought back stay edits of that one.
class GridStep : public QUndoCommand
{
public:
    // Records the change of `edited` from what it holds now to `after`;
    // pushing the step makes it.
    GridStep(EditedGrid &edited, const EditedGrid &after, const QString &text);

    void undo() override { m_edited = m_before; }
    void redo() override { m_edited = m_after; }

private:
    EditedGrid &m_edited;
    EditedGrid m_before;
    EditedGrid m_after;
};
