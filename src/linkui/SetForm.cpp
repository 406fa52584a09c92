#include "SetForm.h"

#include "CaptionFrame.h"
#include "DesignFont.h"
#include "DialogFrame.h"
#include "Twips.h"

#include "core/TitleData.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

SetForm::SetForm(TitleData &data, QWidget *owner) : QWidget(owner), m_data(data)
{
    setObjectName(QStringLiteral("SetForm"));
    setWindowTitle(QStringLiteral("書き込み設定"));
    DialogFrame::apply(this, 5700, 1740);
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

    static constexpr int boxLeft[8] = {150, 840, 1500, 2130, 2790, 3450, 4080, 4710};
    for (int i = 0; i < 8; ++i) {
        channelChecks[i] = new QCheckBox(QStringLiteral("CH%1").arg(i + 1), Frame1);
        channelChecks[i]->setObjectName(QStringLiteral("Check1_%1").arg(i));
        Twips::place(channelChecks[i], boxLeft[i], 330, 650, 225);
        // The boxes stand close together: keep the caption next to its box.
        channelChecks[i]->setStyleSheet(QStringLiteral("QCheckBox { spacing: 2px; }"));
    }
    executeButton = new QPushButton(QStringLiteral("実行"), this);
    Twips::place(executeButton, 480, 1260, 2325, 375);
    cancelButton = new QPushButton(QStringLiteral("キャンセル"), this);
    Twips::place(cancelButton, 2880, 1260, 2325, 375);
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
    emit writeRequested();
    hide();
}

void SetForm::cancel()
{
    hide();
}
