#pragma once

#include <QWidget>

#include <array>

struct TitleData;
class QCheckBox;
class CaptionFrame;
class QPushButton;
class QRadioButton;

// "書き込み設定": which channels the bulk write sends. Owned by the
// communication window; "実行" and "キャンセル" only hide it so the choice
// holds for the next write, the close box destroys it.
class SetForm : public QWidget
{
    Q_OBJECT
public:
    SetForm(TitleData &data, QWidget *owner);

    std::array<QRadioButton *, 2> Option1{};
    CaptionFrame *Frame1 = nullptr;
    std::array<QCheckBox *, 8> Check1{};
    QPushButton *Command1 = nullptr; // 実行
    QPushButton *Command2 = nullptr; // キャンセル

signals:
    // "実行" has set KakikomiCh: start the bulk write now.
    void writeRequested();

private:
    void Option1_Click(int index);
    void Command1_Click();
    void Command2_Click();

    TitleData &m_data;
};
