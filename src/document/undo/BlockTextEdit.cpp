#include "BlockTextEdit.h"

#include "StepListener.h"

BlockTextEdit::BlockTextEdit(TitleData &data, StepListener &listener, int block, const QString &before,
                             const QString &text, QUndoCommand *parent)
    : QUndoCommand(text, parent), m_data(data), m_listener(listener), m_block(block), m_before(before),
      m_after(data.ChText[block])
{
    setObsolete(m_before == m_after);
}

void BlockTextEdit::undo()
{
    apply(m_before);
}

void BlockTextEdit::redo()
{
    apply(m_after);
}

void BlockTextEdit::apply(const QString &blockText)
{
    if (m_before == m_after)
        return;
    m_data.ChText[m_block] = blockText;
    m_listener.blockTextPut(m_block);
}
