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
// and named after what they do; their object names keep the designed control names.
struct SerFormUi
{
    std::array<QPushButton *, 8> ChSelect{};
    std::array<QFrame *, 8> VideoLoss{};
    CaptionFrame *Frame3 = nullptr;
    CaptionFrame *Frame1 = nullptr;
    std::array<QLabel *, 5> Label1{}; // 2 is not used
    QComboBox *BlackLevel = nullptr;
    QComboBox *WhiteLevel = nullptr;
    CaptionFrame *Frame4 = nullptr;
    std::array<QPushButton *, 4> arrowButtons{}; // ↓ ↑ ← →
    QLabel *VposiLabel = nullptr;
    QLabel *HposiLabel = nullptr;
    QFrame *Picture1 = nullptr;
    QLabel *Label3 = nullptr;
    QToolButton *WriteButton = nullptr; // "書込"
    CaptionFrame *Frame2 = nullptr;
    QLabel *MessageLabel = nullptr;
    ProgressMeter *Meter = nullptr;
    QPushButton *closeButton = nullptr;

    void setupUi(QWidget *form);
};
