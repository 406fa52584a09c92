#pragma once

#include "KakudaiGrid.h"

#include "core/TitleData.h"

#include <QWidget>

#include <array>
#include <functional>

class KakudaiDotGrid;
class QGroupBox;
class QPushButton;

// The enlarged character editor "文字N編集中": one character of the title
// data as 12 x 18 large dots, edited with the mouse and eleven whole-pattern
// commands, written back only by "保存" and "貼り付け". A modeless window of
// its owner; closing it destroys it, and the owner creates it again.
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
    enum Command5Index { Copy = 0, Paste = 1, Save = 2, Cancel = 3 };

    // `dotDataSet` redraws one character's palette tile after the pattern in
    // the title data changed.
    HensyuForm(TitleData &data, std::function<void(int)> dotDataSet, QWidget *owner = nullptr);

    // Loads character `code` (0..255) into the grid and the caption; never
    // shows the window.
    void KakudaiDataSet(int code);

    void KakudaiDot_MouseDown(int n);
    void HensyuCommand_Click(int index);
    void Command5_Click(int index);

    const KakudaiGrid &grid() const { return m_grid; }
    QPushButton *hensyuCommand(int index) const { return m_hensyuCommand[index]; }
    QPushButton *command5(int index) const { return m_command5[index]; }
    KakudaiDotGrid *dotGrid() const { return m_dots; }

private:
    void buildLayout();
    void gridChanged();

    TitleData &m_data;
    std::function<void(int)> m_dotDataSet;
    KakudaiGrid m_grid;

    QGroupBox *m_frame = nullptr;
    KakudaiDotGrid *m_dots = nullptr;
    std::array<QPushButton *, CommandCount> m_hensyuCommand{};
    std::array<QPushButton *, 4> m_command5{};
};
