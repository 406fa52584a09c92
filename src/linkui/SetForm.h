#pragma once

#include <QWidget>

#include <array>

struct TitleData;
class QCheckBox;
class CaptionFrame;
class QPushButton;
class QRadioButton;

// SetForm ("settings form") "書き込み設定": which channels the bulk write sends. Owned by the
// communication window; "実行" and "キャンセル" only hide it so the choice
// holds for the next write, the close box destroys it.
class SetForm : public QWidget
{
    Q_OBJECT
public:
    SetForm(TitleData &data, QWidget *owner);

    std::array<QRadioButton *, 2> sendOptions{};
    CaptionFrame *Frame1 = nullptr;
    std::array<QCheckBox *, 8> channelChecks{};
    QPushButton *executeButton = nullptr; // 実行
    QPushButton *cancelButton = nullptr; // キャンセル

signals:
    // "実行" has set KakikomiCh: start the bulk write now.
    void writeRequested();

private:
    void showChannelChoice(int index);
    void execute();
    void cancel();

    TitleData &m_data;
};
