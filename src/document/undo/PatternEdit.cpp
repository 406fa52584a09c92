#include "PatternEdit.h"

#include "StepListener.h"

PatternEdit::PatternEdit(TitleData &data, StepListener &listener, const Patterns &before, const QString &text,
                         QUndoCommand *parent)
    : QUndoCommand(text, parent), m_data(data), m_listener(listener)
{
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        const CharPattern &now = data.DotData[it.key()];
        if (now != it.value())
            m_changes.push_back({it.key(), it.value(), now});
    }
    setObsolete(m_changes.empty());
}

PatternEdit *PatternEdit::replace(TitleData &data, StepListener &listener, const Patterns &patterns,
                                  const QString &text, QUndoCommand *parent)
{
    Patterns before;
    for (auto it = patterns.cbegin(); it != patterns.cend(); ++it) {
        before.insert(it.key(), data.DotData[it.key()]);
        data.DotData[it.key()] = it.value();
    }
    return new PatternEdit(data, listener, before, text, parent);
}

PatternEdit::Patterns PatternEdit::snapshot(const TitleData &data, int first, int count)
{
    Patterns patterns;
    for (int code = first; code < first + count; ++code)
        patterns.insert(code, data.DotData[code]);
    return patterns;
}

void PatternEdit::undo()
{
    apply(&Change::before);
}

void PatternEdit::redo()
{
    apply(&Change::after);
}

void PatternEdit::apply(CharPattern Change::*side)
{
    QList<int> codes;
    for (const Change &change : m_changes) {
        m_data.DotData[change.code] = change.*side;
        codes.append(change.code);
    }
    if (!codes.isEmpty())
        m_listener.patternsPut(codes);
}
