#include "SetForm.h"

#include "CaptionFrame.h"
#include "DesignFont.h"
#include "DialogFrame.h"
#include "Twips.h"

#include "core/TitleData.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

SetForm::SetForm(TitleData &data, QWidget *owner) : QWidget(owner), m_data(data)
{
    setObjectName(QStringLiteral("SetForm"));
    setWindowTitle(QStringLiteral("書き込み設定"));
    DialogFrame::apply(this, ClientWidthTwips, DesignedHeightTwips);
    applyDesignFont(this);

    sendOptions[0] = new QRadioButton(QStringLiteral("全チャンネルデータ送信"), this);
    Twips::place(sendOptions[0], 180, 60, 2595, 285);
    Frame1 = new CaptionFrame(QString(), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Twips::place(Frame1, 90, 420, 5535, 735);
    sendOptions[1] = new QRadioButton(QStringLiteral("指定チャンネルデータ送信"), this);
    Twips::place(sendOptions[1], 180, 390, 2325, 285);
    // The second option sits on the frame's top edge as its heading.
    sendOptions[1]->setAutoFillBackground(true);
    sendOptions[1]->raise();
    // The design's widths leave no room for the caption in every font.
    for (QRadioButton *option : sendOptions)
        option->resize(qMax(option->width(), option->sizeHint().width()), option->height());

    static constexpr int boxLeft[8] = {150, 840, 1500, 2130, 2790, 3450, 4080, 4710};
    // As designed CH3, CH6 and CH7 reach into the next box and their
    // captions may be cut. Each box is as wide as its caption needs, and
    // stands where designed unless that would touch the box before it; the
    // eight still fit the frame with room to spare.
    int previousRight = -2;
    for (int i = 0; i < 8; ++i) {
        channelChecks[i] = new QCheckBox(QStringLiteral("CH%1").arg(i + 1), Frame1);
        channelChecks[i]->setObjectName(QStringLiteral("Check1_%1").arg(i));
        // The boxes stand close together: keep the caption next to its box.
        channelChecks[i]->setStyleSheet(QStringLiteral("QCheckBox { spacing: 2px; }"));
        QRect box = Twips::rect(boxLeft[i], 330, 650, 225);
        box.setWidth(qMax(box.width(), channelChecks[i]->sizeHint().width()));
        box.moveLeft(qMax(box.left(), previousRight + 2));
        channelChecks[i]->setGeometry(box);
        previousRight = box.right();
    }
    executeButton = new QPushButton(QStringLiteral("実行"), this);
    Twips::place(executeButton, 480, 1260, 2325, 375);
    cancelButton = new QPushButton(QStringLiteral("キャンセル"), this);
    Twips::place(cancelButton, 2880, 1260, 2325, 375);
    // Return presses the focused button, as in a dialog box: the window is
    // a plain widget, where a button does not take Return of itself.
    executeButton->setAutoDefault(true);
    cancelButton->setAutoDefault(true);
    resumeNote = new QLabel(this);
    resumeNote->setObjectName(QStringLiteral("resumeNote"));
    changedButton = new QPushButton(QStringLiteral("変更分のみ選択(&D)"), this);
    changedButton->setObjectName(QStringLiteral("changedButton"));
    changedNote = new QLabel(this);
    changedNote->setObjectName(QStringLiteral("changedNote"));
    for (QLabel *note : {resumeNote, changedNote}) {
        note->setWordWrap(true);
        note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    changedButton->setEnabled(false);
    titleChanged();

    for (int i = 0; i < 2; ++i)
        sendOptions[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
    executeButton->setObjectName(QStringLiteral("Command1"));
    cancelButton->setObjectName(QStringLiteral("Command2"));

    sendOptions[0]->setChecked(true);
    Frame1->setEnabled(false);

    for (int i = 0; i < 2; ++i)
        connect(sendOptions[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                showChannelChoice(i);
        });
    connect(executeButton, &QPushButton::clicked, this, &SetForm::execute);
    connect(cancelButton, &QPushButton::clicked, this, &SetForm::cancel);
    connect(changedButton, &QPushButton::clicked, this, &SetForm::chooseChanged);
}

namespace {
QString channelNames(const QList<int> &channels)
{
    QStringList names;
    for (int channel : channels)
        names.append(QStringLiteral("CH%1").arg(channel));
    return names.isEmpty() ? QStringLiteral("なし") : names.join(QStringLiteral(", "));
}
} // namespace

void SetForm::showEvent(QShowEvent *event)
{
    // The operator sees at once where Return and Space go; Qt otherwise
    // draws the focus frame only after a key has moved the focus.
    setAttribute(Qt::WA_KeyboardFocusChange, true);
    QWidget::showEvent(event);
}

void SetForm::offerResume(const TransferRecord &last)
{
    if (!m_beforeOffer)
        m_beforeOffer = choice();
    tickOnly(last.unfinishedChannels());
    resumeNote->setText(QStringLiteral("前回 %1 への書き込みは途中で終わりました。完了: %2。残りのチャンネルを選んであります。")
                            .arg(last.port, channelNames(last.completedChannels())));
    layOutNotes();
}

void SetForm::clearResume()
{
    if (m_beforeOffer) {
        restore(*m_beforeOffer);
        m_beforeOffer.reset();
    }
    resumeNote->clear();
    layOutNotes();
}

SetForm::Choice SetForm::choice() const
{
    Choice now;
    now.someChannels = sendOptions[1]->isChecked();
    for (int i = 0; i < 8; ++i)
        now.ticked[size_t(i)] = channelChecks[size_t(i)]->isChecked();
    return now;
}

void SetForm::restore(const Choice &choice)
{
    sendOptions[choice.someChannels ? 1 : 0]->setChecked(true);
    for (int i = 0; i < 8; ++i)
        channelChecks[size_t(i)]->setChecked(choice.ticked[size_t(i)]);
}

void SetForm::titleChanged()
{
    changedNote->setText(QStringLiteral("前回このPCから書き込んだ時と違うチャンネルだけを選びます。") + changedCaveat());
    layOutNotes();
}

QString SetForm::changedCaveat()
{
    return QStringLiteral("本体が前回このPCから書き込んだ内容を今も保持しているとみなします。");
}

void SetForm::layOutNotes()
{
    // Beneath the designed area, each note as tall as its text needs and
    // never less than it was designed with; the dialog grows to hold them.
    // The changed channels' note keeps room for three lines, so naming all
    // eight does not make the dialog jump.
    const QRect noteArea = Twips::rect(180, 0, 5340, 480);
    const int lines3 = 3 * changedNote->fontMetrics().lineSpacing();
    int top = Twips::px(DesignedHeightTwips);
    const int resumeHeight = qMax(noteArea.height(), resumeNote->heightForWidth(noteArea.width()));
    resumeNote->setGeometry(noteArea.left(), top, noteArea.width(), resumeHeight);
    top += resumeHeight + Twips::px(60);
    changedButton->setGeometry(noteArea.left(), top, Twips::px(2700), Twips::px(375));
    top += changedButton->height() + Twips::px(45);
    const int changedHeight = qMax(lines3, changedNote->heightForWidth(noteArea.width()));
    changedNote->setGeometry(noteArea.left(), top, noteArea.width(), changedHeight);
    setFixedSize(width(), top + changedHeight + Twips::px(120));
}

void SetForm::offerChangedChannels(std::function<QList<int>()> changed)
{
    m_changed = std::move(changed);
    changedButton->setEnabled(bool(m_changed));
}

void SetForm::chooseChanged()
{
    if (!m_changed)
        return;
    const QList<int> channels = m_changed();
    tickOnly(channels);
    changedNote->setText(QStringLiteral("変更されたチャンネル: %1。本体が前回このPCから書き込んだ内容を今も保持しているとみなしています。")
                             .arg(channelNames(channels)));
    layOutNotes();
}

void SetForm::tickOnly(const QList<int> &channels)
{
    sendOptions[1]->setChecked(true);
    for (int i = 0; i < 8; ++i)
        channelChecks[i]->setChecked(channels.contains(i + 1));
}

void SetForm::showChannelChoice(int index)
{
    // The boxes keep their ticks while the frame is disabled.
    Frame1->setEnabled(index != 0);
}

void SetForm::execute()
{
    m_data.KakikomiCh.fill(true);
    if (sendOptions[1]->isChecked()) {
        for (int i = 0; i < 8; ++i)
            if (!channelChecks[i]->isChecked())
                m_data.KakikomiCh[i] = false;
    }
    // The offer taken up is the operator's choice now.
    m_beforeOffer.reset();
    emit writeRequested();
    hide();
}

void SetForm::cancel()
{
    hide();
}
