#pragma once

#include "KakudaiGrid.h"

#include <QUndoCommand>

// One of the operator's unsaved edits in the enlarged editor, as the whole
// grid before and after: 216 colours are cheaper to keep than to work out
// what a shift or a fill touched.
class GridStep : public QUndoCommand
{
public:
    // Records the change of `grid` from what it shows now to `after`; pushing
    // the step makes it.
    GridStep(KakudaiGrid &grid, const KakudaiGrid &after, const QString &text);

    void undo() override { m_grid = m_before; }
    void redo() override { m_grid = m_after; }

private:
    KakudaiGrid &m_grid;
    KakudaiGrid m_before;
    KakudaiGrid m_after;
};
