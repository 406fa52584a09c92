#include "SerFormUi.h"

#include "BackgroundFill.h"
#include "CaptionFrame.h"
#include "ProgressMeter.h"
#include "Twips.h"
#include "WriteButtonIcon.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {

template<typename Widget>
Widget *make(QWidget *parent, const QString &name, int left, int top, int width, int height)
{
    auto *widget = new Widget(parent);
    widget->setObjectName(name);
    Twips::place(widget, left, top, width, height);
    return widget;
}

CaptionFrame *frame(QWidget *parent, const QString &name, const QString &caption, int left, int top, int width,
                    int height)
{
    auto *box = new CaptionFrame(caption, parent);
    box->setObjectName(name);
    Twips::place(box, left, top, width, height);
    return box;
}

QLabel *label(QWidget *parent, const QString &name, const QString &caption, int left, int top, int width,
              int height)
{
    auto *text = make<QLabel>(parent, name, left, top, width, height);
    text->setText(caption);
    return text;
}

// A white read-out box with centred text.
QLabel *readOut(QWidget *parent, const QString &name, int left, int top)
{
    QLabel *box = label(parent, name, QStringLiteral("0"), left, top, 435, 255);
    box->setAlignment(Qt::AlignCenter);
    box->setFrameShape(QFrame::Box);
    fillBackground(box, QColor(0xFFFFFF));
    return box;
}

} // namespace

void SerFormUi::setupUi(QWidget *form)
{
    static constexpr int channelLeft[8] = {60, 705, 1335, 1980, 2610, 3255, 3885, 4530};
    static constexpr int lampLeft[8] = {450, 1080, 1710, 2340, 3000, 3630, 4290, 4920};
    for (int i = 0; i < 8; ++i) {
        ChSelect[i] = make<QPushButton>(form, QStringLiteral("ChSelect_%1").arg(i), channelLeft[i], 90, 600, 450);
        ChSelect[i]->setText(QStringLiteral("CH%1").arg(i + 1));
        VideoLoss[i] = make<QFrame>(form, QStringLiteral("VideoLoss_%1").arg(i), lampLeft[i], 570, 195, 195);
        VideoLoss[i]->setFrameShape(QFrame::Box);
    }

    Frame3 = frame(form, QStringLiteral("Frame3"), QString(), 60, 840, 5085, 1815);
    Frame1 = frame(Frame3, QStringLiteral("Frame1"), QStringLiteral("ブライトネス設定"), 120, 240, 3285, 675);
    Label1[0] = label(Frame1, QStringLiteral("Label1_0"), QStringLiteral("BlackLv"), 120, 300, 660, 225);
    BlackLevel = make<QComboBox>(Frame1, QStringLiteral("Combo1_1"), 810, 240, 795, 330);
    Label1[1] = label(Frame1, QStringLiteral("Label1_1"), QStringLiteral("WhiteLv"), 1650, 300, 660, 225);
    WhiteLevel = make<QComboBox>(Frame1, QStringLiteral("Combo1_2"), 2340, 240, 795, 330);
    // The lists are as narrow as the window was designed with; a slimmer
    // arrow keeps "120%" readable in them.
    for (QComboBox *levels : {BlackLevel, WhiteLevel})
        levels->setStyleSheet(QStringLiteral("QComboBox { padding: 0px 0px 0px 3px; }"
                                             "QComboBox::drop-down { width: 12px; }"));

    Frame4 = frame(Frame3, QStringLiteral("Frame4"), QStringLiteral("表示位置設定"), 120, 1020, 4845, 675);
    static constexpr int arrowLeft[4] = {990, 1440, 3360, 3810};
    static const char *const arrows[4] = {"↓", "↑", "←", "→"};
    for (int i = 0; i < 4; ++i) {
        arrowButtons[i] = make<QPushButton>(Frame4, QStringLiteral("Command2_%1").arg(i), arrowLeft[i], 210, 405, 345);
        arrowButtons[i]->setText(QString::fromUtf8(arrows[i]));
    }
    Label1[3] = label(Frame4, QStringLiteral("Label1_3"), QStringLiteral("垂直位置"), 120, 270, 855, 225);
    VposiLabel = readOut(Frame4, QStringLiteral("VposiLabel"), 1920, 255);
    Label1[4] = label(Frame4, QStringLiteral("Label1_4"), QStringLiteral("水平位置"), 2460, 270, 855, 225);
    HposiLabel = readOut(Frame4, QStringLiteral("HposiLabel"), 4290, 255);

    Picture1 = make<QFrame>(form, QStringLiteral("Picture1"), 60, 3090, 5085, 1095);
    fillBackground(Picture1, QColor(0xC0C0C0));
    Label3 = label(Picture1, QStringLiteral("Label3"),
                   QStringLiteral("編集フォームで表示中のデータを転送します。         右の「書き込み」スイッチを"
                                  "　クリックして下さい。"),
                   120, 90, 4185, 855);
    Label3->setWordWrap(true);
    // The label runs on under the write button; its text wraps before it.
    Label3->setContentsMargins(0, 0, Twips::px(120 + 4185 - 3990), 0);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    WriteButton = make<QToolButton>(Picture1, QStringLiteral("Command1_0"), 3990, 90, 915, 855);
    WriteButton->setText(QStringLiteral("書込"));
    WriteButton->setIcon(WriteButtonIcon::create());
    WriteButton->setIconSize(QSize(32, 32));
    WriteButton->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    WriteButton->setFocusPolicy(Qt::StrongFocus);

    Frame2 = frame(form, QStringLiteral("Frame2"), QStringLiteral("メッセージ"), 60, 4230, 5085, 795);
    MessageLabel = label(Frame2, QStringLiteral("MessageLabel"), QString(), 150, 210, 4755, 225);
    Meter = new ProgressMeter(Frame2);
    Twips::place(Meter, 150, 480, ProgressMeter::WidthTwips, 225);

    closeButton = make<QPushButton>(form, QStringLiteral("Command3"), 1740, 5100, 1725, 420);
    closeButton->setText(QStringLiteral("閉じる"));
}
