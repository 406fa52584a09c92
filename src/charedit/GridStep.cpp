#include "GridStep.h"

GridStep::GridStep(KakudaiGrid &grid, const KakudaiGrid &after, const QString &text)
    : QUndoCommand(text), m_grid(grid), m_before(grid), m_after(after)
{
}
