#pragma once

#include "core/TitleData.h"

#include <QString>
#include <QUndoCommand>

class StepListener;

// The stored text of one block changed, as one undo step.
class BlockTextEdit : public QUndoCommand
{
public:
    // Records an edit already made: `before` was the text of `block`, the
    // new one is read from `data` now.
    BlockTextEdit(TitleData &data, StepListener &listener, int block, const QString &before, const QString &text,
                  QUndoCommand *parent = nullptr);

    void undo() override;
    void redo() override;

private:
    void apply(const QString &blockText);

    TitleData &m_data;
    StepListener &m_listener;
    int m_block;
    QString m_before;
    QString m_after;
};
