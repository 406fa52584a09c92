#pragma once

#include "CharacterEdits.h"
#include "KakudaiGrid.h"

#include "core/TitleData.h"

#include <QWidget>

#include <array>
#include <functional>

class KakudaiDotGrid;
class MessageBoxes;
class QGroupBox;
class QLabel;
class QPushButton;
class TitleDocument;

// HensyuForm ("editing form"), the enlarged character editor "文字N編集中": one character of the title
// data as 12 x 18 large dots, edited with the mouse and eleven whole-pattern
// commands, written back into the document only by "保存" and "貼り付け". A
// modeless window of its owner; closing it destroys it, and the owner
// creates it again.
//
// Which character it shows is the document's to say (`characterOpened`);
// the window loads it when told. Its unsaved edits are its own: Ctrl+Z and
// Ctrl+Y take them back and redo them step by step while this window is
// active, and they are never lost without a question. Without edits it
// always shows the character as the document holds it.
class HensyuForm : public QWidget
{
    Q_OBJECT

public:
    enum Command {
        Edging = 0,
        ClearAll = 1,
        AllWhite = 2,
        AllBlack = 3,
        ClearBlack = 4,
        ClearWhite = 5,
        SwapBlackWhite = 6,
        ShiftUp = 7,
        ShiftLeft = 8,
        ShiftRight = 9,
        ShiftDown = 10,
    };
    static constexpr int CommandCount = 11;
    // The buttons under the grid, in their order.
    enum Action { Copy = 0, Paste = 1, Save = 2, Cancel = 3 };
    static constexpr int ActionCount = 4;

    HensyuForm(TitleDocument &document, MessageBoxes &messageBoxes, QWidget *owner = nullptr);
    ~HensyuForm() override;

    // "Enlarged data set": opens character `code` (0..255) in the document,
    // which loads it into the grid and the caption; never shows the window.
    // Unsaved edits are dropped: callers on the operator's behalf use
    // openCharacter.
    void KakudaiDataSet(int code);
    // Loads character `code` for the operator: unsaved edits of another
    // character are asked about first ("保存" / "破棄" / "キャンセル"); those of
    // the same character stay. False when the operator chose キャンセル and
    // nothing was loaded.
    bool openCharacter(int code);
    // Before the edits would be lost (the program ending): asks whether to
    // save them. True when the caller may go on.
    bool settleUnsavedEdits();

    // Cycles dot n (0..215) of the grid: transparent, black, white.
    void pressDot(int n);
    // One of the eleven whole-pattern commands, on the grid only.
    void applyCommand(int command);
    // "コピー": the stored pattern (not the grid) into the process-wide buffer.
    void copyCharacter();
    // "貼り付け": the buffer into the title data and the grid; nothing before
    // the first copy.
    void pasteCharacter();
    // "保存": the grid into the title data.
    void saveCharacter();
    // "キャンセル": the grid back to the stored pattern.
    void cancelEdits();
    void runAction(int action);

    const KakudaiGrid &grid() const { return m_edits.grid(); }
    bool hasUnsavedEdits() const { return m_edits.hasEdits(); }
    // The character changed in the document under unsaved edits.
    bool storedChangedUnderEdits() const { return m_edits.overtaken(); }
    // The steps of the unsaved edits (Ctrl+Z, Ctrl+Y).
    QUndoStack &undoStack() { return m_edits.undoStack(); }
    QPushButton *hensyuCommand(int index) const { return m_hensyuCommand[index]; }
    QPushButton *actionButton(int action) const { return m_actionButtons[action]; }
    KakudaiDotGrid *dotGrid() const { return m_dots; }
    // The line telling that the character changed under the edits.
    QLabel *overtakenNotice() const { return m_notice; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // The character the document has open, and the pattern stored for it.
    int character() const;
    const CharPattern &storedPattern() const;
    void showCharacter();
    void buildLayout();
    void buildUndoActions();
    bool storeGrid();
    void followDocument(const QList<int> &codes);
    void gridChanged();
    QString editingCaption() const;

    TitleDocument &m_document;
    TitleData &m_data;
    MessageBoxes &m_messageBoxes;
    CharacterEdits m_edits;

    QGroupBox *m_frame = nullptr;
    KakudaiDotGrid *m_dots = nullptr;
    std::array<QPushButton *, CommandCount> m_hensyuCommand{};
    std::array<QPushButton *, ActionCount> m_actionButtons{};
    QLabel *m_notice = nullptr;
};
