#pragma once

#include <array>

class ProgressMeter;
class QComboBox;
class QFrame;
class CaptionFrame;
class QLabel;
class QPushButton;
class QToolButton;
class QWidget;

// The controls of the communication window, built at their designed places
// and named as the window's handlers name them.
struct SerFormUi
{
    std::array<QPushButton *, 8> ChSelect{};
    std::array<QFrame *, 8> VideoLoss{};
    CaptionFrame *Frame3 = nullptr;
    CaptionFrame *Frame1 = nullptr;
    std::array<QLabel *, 5> Label1{}; // 2 is not used
    QComboBox *BlackLevel = nullptr;  // Combo1(1)
    QComboBox *WhiteLevel = nullptr;  // Combo1(2)
    CaptionFrame *Frame4 = nullptr;
    std::array<QPushButton *, 4> Command2{}; // ↓ ↑ ← →
    QLabel *VposiLabel = nullptr;
    QLabel *HposiLabel = nullptr;
    QFrame *Picture1 = nullptr;
    QLabel *Label3 = nullptr;
    QToolButton *WriteButton = nullptr; // Command1(0)
    CaptionFrame *Frame2 = nullptr;
    QLabel *MessageLabel = nullptr;
    ProgressMeter *Meter = nullptr;
    QPushButton *Command3 = nullptr;

    void setupUi(QWidget *form);
};
