#pragma once

#include "link/history/TransferRecord.h"

#include <QList>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

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

    // The last write to the port in use broke off: the channels it did not
    // complete are ticked, the others not, "指定チャンネルデータ送信" is
    // chosen, and the dialog names the port and the channels that did
    // complete.
    void offerResume(const TransferRecord &last);
    // Nothing to resume on the port in use: an offer not taken up by "実行"
    // gives back the choice that stood before it, since its ticks were
    // another unit's.
    void clearResume();
    // "変更分のみ選択" ticks the channels (1..8) `changed` gives.
    void offerChangedChannels(std::function<QList<int>()> changed);
    // The title changed: the channels named after "変更分のみ選択" may be
    // others now, so the note goes back to saying what the button does.
    void titleChanged();
    // What choosing only the changed channels takes on trust, said wherever
    // that choice is offered.
    static QString changedCaveat();

    // The dialog's width and designed height in twips; the rows added
    // beneath grow with their notes.
    static constexpr int ClientWidthTwips = 5700;
    static constexpr int DesignedHeightTwips = 1740;

signals:
    // "実行" has set KakikomiCh: start the bulk write now.
    void writeRequested();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showChannelChoice(int index);
    void execute();
    void cancel();
    void tickOnly(const QList<int> &channels);
    void chooseChanged();
    void layOutNotes();

    struct Choice
    {
        bool someChannels = false;
        std::array<bool, 8> ticked{};
    };
    Choice choice() const;
    void restore(const Choice &choice);

    TitleData &m_data;
    std::function<QList<int>()> m_changed;
    // While a resume is offered: the choice it replaced.
    std::optional<Choice> m_beforeOffer;
};
