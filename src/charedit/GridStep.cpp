#include "GridStep.h"

GridStep::GridStep(EditedGrid &edited, const EditedGrid &after, const QString &text)
    : QUndoCommand(text), m_edited(edited), m_before(edited), m_after(after)
{
}
