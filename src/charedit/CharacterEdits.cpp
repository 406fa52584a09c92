#include "CharacterEdits.h"

#include "GridStep.h"

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
    m_grid.load(stored);
    m_stored = m_grid;
    m_overtaken = false;
}

void CharacterEdits::edit(const std::function<void(KakudaiGrid &)> &change, const QString &what)
{
    KakudaiGrid after = m_grid;
    change(after);
    if (after != m_grid)
        m_undo.push(new GridStep(m_grid, after, what));
}

void CharacterEdits::revert(const QString &what)
{
    if (m_grid != m_stored)
        m_undo.push(new GridStep(m_grid, m_stored, what));
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
    m_overtaken = m_grid != now;
    return false;
}
