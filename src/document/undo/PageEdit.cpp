#include "PageEdit.h"

#include "StepListener.h"

PageEdit::PageEdit(TitleData &data, StepListener &listener, int page, const Layer &before, const QString &text,
                   QUndoCommand *parent)
    : QUndoCommand(text, parent), m_data(data), m_listener(listener), m_page(page)
{
    for (int cell = 0; cell < Title::Cells; ++cell) {
        const quint8 now = data.DispData(cell, 0, page);
        if (now != before[cell])
            m_changes.push_back({cell, before[cell], now});
    }
    setObsolete(m_changes.empty());
}

PageEdit::Layer PageEdit::snapshot(const TitleData &data, int page)
{
    Layer layer{};
    for (int cell = 0; cell < Title::Cells; ++cell)
        layer[cell] = data.DispData(cell, 0, page);
    return layer;
}

void PageEdit::undo()
{
    apply(&Change::before);
}

void PageEdit::redo()
{
    apply(&Change::after);
}

void PageEdit::apply(quint8 Change::*side)
{
    QList<int> cells;
    for (const Change &change : m_changes) {
        m_data.DispData(change.cell, 0, m_page) = change.*side;
        cells.append(change.cell);
    }
    if (!cells.isEmpty())
        m_listener.cellsPut(m_page, cells);
}
