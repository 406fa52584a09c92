#include "CharacterEdits.h"

CharacterEdits::CharacterEdits()
{
    m_undo.setUndoLimit(UndoLimit);
}

void CharacterEdits::load(const CharPattern &stored)
{
    // Steps of another character, or of an older pattern, would bring back
    // something that is not an edit of what is shown.
    m_undo.clear();
    m_loaded = true;
    m_edited.grid.load(stored);
    m_stored = m_edited.grid;
    m_edited.base = m_stored;
}

EditedGrid CharacterEdits::settled(EditedGrid edited) const
{
    if (edited.grid == m_stored)
        edited.base = m_stored;
    return edited;
}

void CharacterEdits::edit(const std::function<void(KakudaiGrid &)> &change, const QString &what)
{
    EditedGrid after = settled(m_edited);
    change(after.grid);
    if (after.grid != m_edited.grid)
        m_undo.push(new GridStep(m_edited, settled(after), what));
}

void CharacterEdits::revert(const QString &what)
{
    if (m_edited.grid != m_stored)
        m_undo.push(new GridStep(m_edited, settled({m_stored, m_edited.base}), what));
}

bool CharacterEdits::storedChanged(const CharPattern &stored)
{
    if (!m_loaded)
        return false;
    // Loaded over the shown grid, as a load does, so that a dot holding no
    // valid code compares as it would show.
    KakudaiGrid now = m_stored;
    now.load(stored);
    if (now == m_stored)
        return false;
    if (!hasEdits()) {
        load(stored);
        return true;
    }
    m_stored = now;
    // Saving these edits was the change itself: nothing of anyone else's
    // lies under them any more.
    m_edited = settled(m_edited);
    return false;
}
