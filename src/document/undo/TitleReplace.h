#pragma once

#include "StepListener.h"

#include "core/TitleData.h"

#include <QUndoCommand>

#include <memory>

// The whole stored title replaced, together with the file it belongs to
// (opening a file), as one undo step. Undoing it also gives back the file
// name, so that "保存" can never write one file's title into another.
class TitleReplace : public QUndoCommand
{
public:
    // Records a replacement already made to `data`: `before` holds the old
    // title, `fileBefore` and `fileAfter` the file names on either side.
    TitleReplace(TitleData &data, StepListener &listener, const TitleData &before, const TitleFileNames &fileBefore,
                 const TitleFileNames &fileAfter, const QString &text, QUndoCommand *parent = nullptr);
    ~TitleReplace() override;

    void undo() override;
    void redo() override;

private:
    TitleData &m_data;
    StepListener &m_listener;
    // Whole titles are large; kept on the heap.
    std::unique_ptr<TitleData> m_before;
    std::unique_ptr<TitleData> m_after;
    TitleFileNames m_fileBefore;
    TitleFileNames m_fileAfter;
};
