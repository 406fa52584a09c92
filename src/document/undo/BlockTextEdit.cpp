#include "BlockTextEdit.h"

#include "TitleView.h"

BlockTextEdit::BlockTextEdit(TitleData &data, TitleView &view, int block, const QString &before,
                             const QString &text, QUndoCommand *parent)
    : QUndoCommand(text, parent), m_data(data), m_view(view), m_block(block), m_before(before),
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
    m_view.showBlockText(m_block);
}
