#pragma once

#include "link/history/TransferRecord.h"

#include <QList>
#include <QWidget>

#include <array>
#include <functional>

struct TitleData;
class QCheckBox;
class QLabel;
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
    // Below the designed controls: what the last write left undone, and
    // the choice of only the channels changed since it.
    QLabel *resumeNote = nullptr;
    QPushButton *changedButton = nullptr; // 変更分のみ選択
    QLabel *changedNote = nullptr;

    // The last write broke off: the channels it did not complete are
    // ticked, the others not, "指定チャンネルデータ送信" is chosen, and the
    // dialog says which channels did complete.
    void offerResume(const TransferRecord &last);
    void clearResume();
    // "変更分のみ選択" ticks the channels (1..8) `changed` gives.
    void offerChangedChannels(std::function<QList<int>()> changed);

    // The dialog's size in twips: the designed area and the rows added
    // beneath it.
    static constexpr int ClientWidthTwips = 5700;
    static constexpr int DesignedHeightTwips = 1740;
    static constexpr int ClientHeightTwips = 3300;

signals:
    // "実行" has set KakikomiCh: start the bulk write now.
    void writeRequested();

private:
    void showChannelChoice(int index);
    void execute();
    void cancel();
    void tickOnly(const QList<int> &channels);
    void chooseChanged();

    TitleData &m_data;
    std::function<QList<int>()> m_changed;
};
