#pragma once

#include "GridStep.h"
#include "KakudaiGrid.h"

#include "core/TitleData.h"

#include <QString>
#include <QUndoStack>

#include <functional>

// The operator's unsaved edits of the character in the enlarged editor: the
// working grid, the grid of the pattern as stored now, and the edits' own
// undo steps. The title sees none of this until "保存". Which character it
// is, the document says.
//
// The stored pattern can change while the character is open (the palette's
// "縁取" and "反転", an import, undo, a file opened, a paste). Without edits
// the grid follows it. With edits the grid keeps them, since they are the
// operator's work, and remembers that they were begun on an older pattern,
// so that saving them over the newer one is never done without asking. Once
// the grid is back at the stored pattern, by whatever way, there is nothing
// of anyone else's to overwrite any more.
class CharacterEdits
{
public:
    // Steps kept per character; a long session of dot clicks stays small.
    static constexpr int UndoLimit = 200;

    CharacterEdits();

    // Whether a pattern was loaded; before, every box is neutral.
    bool isLoaded() const { return m_loaded; }
    const KakudaiGrid &grid() const { return m_edited.grid; }
    QUndoStack &undoStack() { return m_undo; }

    // A character as stored: shown without edits and without steps.
    void load(const CharPattern &stored);
    // One edit of the grid as one undoable step; an edit that leaves the
    // grid as it was adds none.
    void edit(const std::function<void(KakudaiGrid &)> &change, const QString &what);
    // The grid back to the stored pattern, as a step, so the edits can be
    // had back.
    void revert(const QString &what);

    // Whether saving would change the title.
    bool hasEdits() const { return m_loaded && m_edited.grid != m_stored; }
    // Whether the edits were begun on a pattern that has since been replaced.
    bool overtaken() const { return hasEdits() && m_edited.base != m_stored; }

    // The character's stored pattern is now `stored`. Returns true when the
    // grid changed with it.
    bool storedChanged(const CharPattern &stored);

private:
    // `edited` as it stands against the stored pattern: a grid showing that
    // pattern holds no edits, so nothing lies under them.
    EditedGrid settled(EditedGrid edited) const;

    bool m_loaded = false;
    EditedGrid m_edited;
    KakudaiGrid m_stored;
    QUndoStack m_undo;
};
