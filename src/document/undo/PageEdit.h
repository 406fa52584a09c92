#pragma once

#include "core/TitleData.h"

#include <QUndoCommand>

#include <array>
#include <vector>

class StepListener;

// Layer 0 of one screen page changed, as one undo step holding only the
// cells that changed; a step that changes nothing is obsolete.
class PageEdit : public QUndoCommand
{
public:
    using Layer = std::array<quint8, Title::Cells>;

    // Records an edit already made to `page` of `data`; `before` is layer 0
    // of the page as it was, the new codes are read from `data` now.
    PageEdit(TitleData &data, StepListener &listener, int page, const Layer &before, const QString &text,
             QUndoCommand *parent = nullptr);

    // Layer 0 of `page`, as `before` wants it.
    static Layer snapshot(const TitleData &data, int page);

    void undo() override;
    void redo() override;

private:
    struct Change
    {
        int cell;
        quint8 before;
        quint8 after;
    };

    void apply(quint8 Change::*side);

    TitleData &m_data;
    StepListener &m_listener;
    int m_page;
    std::vector<Change> m_changes;
};
