#pragma once

#include "KakudaiGrid.h"

#include "core/TitleData.h"
#include "document/undo/PatternEdit.h"

#include <QWidget>

#include <array>

class KakudaiDotGrid;
class QGroupBox;
class QPushButton;
class TitleDocument;

// HensyuForm ("editing form"), the enlarged character editor "文字N編集中": one character of the title
// data as 12 x 18 large dots, edited with the mouse and eleven whole-pattern
// commands, written back into the document only by "保存" and "貼り付け". A
// modeless window of its owner; closing it destroys it, and the owner
// creates it again.
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

    explicit HensyuForm(TitleDocument &document, QWidget *owner = nullptr);

    // "Enlarged data set": loads character `code` (0..255) into the grid and the caption; never
    // shows the window.
    void KakudaiDataSet(int code);

    // Cycles dot n (0..215) of the grid: transparent, white, black.
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

    const KakudaiGrid &grid() const { return m_grid; }
    QPushButton *hensyuCommand(int index) const { return m_hensyuCommand[index]; }
    QPushButton *actionButton(int action) const { return m_actionButtons[action]; }
    KakudaiDotGrid *dotGrid() const { return m_dots; }

private:
    void buildLayout();
    void gridChanged();
    void followImport(const PatternEdit::Patterns &before);

    TitleDocument &m_document;
    TitleData &m_data;
    KakudaiGrid m_grid;

    QGroupBox *m_frame = nullptr;
    KakudaiDotGrid *m_dots = nullptr;
    std::array<QPushButton *, CommandCount> m_hensyuCommand{};
    std::array<QPushButton *, ActionCount> m_actionButtons{};
};
