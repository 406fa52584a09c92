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

    Option1[0] = new QRadioButton(QStringLiteral("全チャンネルデータ送信"), this);
    Twips::place(Option1[0], 180, 60, 2595, 285);
    Frame1 = new CaptionFrame(QString(), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Twips::place(Frame1, 90, 420, 5535, 735);
    Option1[1] = new QRadioButton(QStringLiteral("指定チャンネルデータ送信"), this);
    Twips::place(Option1[1], 180, 390, 2325, 285);
    // The second option sits on the frame's top edge as its heading.
    Option1[1]->setAutoFillBackground(true);
    Option1[1]->raise();

    static constexpr int boxLeft[8] = {150, 840, 1500, 2130, 2790, 3450, 4080, 4710};
    for (int i = 0; i < 8; ++i) {
        Check1[i] = new QCheckBox(QStringLiteral("CH%1").arg(i + 1), Frame1);
        Check1[i]->setObjectName(QStringLiteral("Check1_%1").arg(i));
        Twips::place(Check1[i], boxLeft[i], 330, 650, 225);
        // The boxes stand close together: keep the caption next to its box.
        Check1[i]->setStyleSheet(QStringLiteral("QCheckBox { spacing: 2px; }"));
    }
    Command1 = new QPushButton(QStringLiteral("実行"), this);
    Twips::place(Command1, 480, 1260, 2325, 375);
    Command2 = new QPushButton(QStringLiteral("キャンセル"), this);
    Twips::place(Command2, 2880, 1260, 2325, 375);
    for (int i = 0; i < 2; ++i)
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));

    Option1[0]->setChecked(true);
    Frame1->setEnabled(false);

    for (int i = 0; i < 2; ++i)
        connect(Option1[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                Option1_Click(i);
        });
    connect(Command1, &QPushButton::clicked, this, &SetForm::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &SetForm::Command2_Click);
}

void SetForm::Option1_Click(int index)
{
    // The boxes keep their ticks while the frame is disabled.
    Frame1->setEnabled(index != 0);
}

void SetForm::Command1_Click()
{
    m_data.KakikomiCh.fill(true);
    if (Option1[1]->isChecked()) {
        for (int i = 0; i < 8; ++i)
            if (!Check1[i]->isChecked())
                m_data.KakikomiCh[i] = false;
    }
    emit writeRequested();
    hide();
}

void SetForm::Command2_Click()
{
    hide();
}
