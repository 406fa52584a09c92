#include "TitleReplace.h"

TitleReplace::TitleReplace(TitleData &data, StepListener &listener, const TitleData &before,
                           const TitleFileNames &fileBefore, const TitleFileNames &fileAfter, const QString &text,
                           QUndoCommand *parent)
    : QUndoCommand(text, parent), m_data(data), m_listener(listener), m_before(std::make_unique<TitleData>()),
      m_after(std::make_unique<TitleData>()), m_fileBefore(fileBefore), m_fileAfter(fileAfter)
{
    m_before->assignTitleFrom(before);
    m_after->assignTitleFrom(data);
}

TitleReplace::~TitleReplace() = default;

void TitleReplace::undo()
{
    m_data.assignTitleFrom(*m_before);
    m_listener.titlePut(m_fileBefore);
}

void TitleReplace::redo()
{
    m_data.assignTitleFrom(*m_after);
    m_listener.titlePut(m_fileAfter);
}
