#include "EditFormUi.h"

#include "CutMarkLineEdit.h"
#include "MarkerShape.h"
#include "PaletteView.h"
#include "ScreenGrid.h"

#include "core/Twips.h"
#include "render/RenderFont.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {

void placeTwips(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(Twips::rect(left, top, width, height));
}

// A label whose size follows its caption, placed at a twips position.
QLabel *captionAt(const QString &caption, QWidget *parent, int left, int top)
{
    auto *label = new QLabel(caption, parent);
    label->adjustSize();
    label->move(Twips::px(left), Twips::px(top));
    return label;
}

QPushButton *buttonAt(const QString &caption, QWidget *parent, int left, int top, int width, int height)
{
    auto *button = new QPushButton(caption, parent);
    placeTwips(button, left, top, width, height);
    return button;
}

void fillWith(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// A picture box with a sunken 2-pixel border; children go into the returned
// client area, whose origin is the picture's pixel-scale origin.
QWidget *pictureBox(QFrame *&frame, QWidget *parent, int left, int top, int width, int height)
{
    frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    placeTwips(frame, left, top, width, height);
    auto *client = new QWidget(frame);
    client->setGeometry(frame->contentsRect());
    return client;
}

} // namespace

QRect EditFormUi::selectionFrame(int cell)
{
    // A one-pixel line through the gaps around the run, so that no dot of
    // the marked cells is hidden under it.
    const QRect first = ScreenGrid::cellRect(cell);
    return QRect(first.x() - 1, first.y() - 1, Title::BlockSize * ScreenGrid::PitchX + 1, ScreenGrid::PitchY + 1);
}

QRect EditFormUi::blockFrame(int topCode)
{
    const QRect first = PaletteView::tileRect(topCode);
    return QRect(first.x() - 1, first.y() - 1, PaletteView::Columns * (PaletteView::TileWidth - 1) + 3,
                 PaletteView::TileHeight + 2);
}

void EditFormUi::setupUi(QMainWindow *form)
{
    form->setWindowTitle(Caption);

    central = new QWidget(form);
    central->setObjectName(QStringLiteral("EditFormClient"));
    central->setFixedSize(ClientWidth, ClientHeight);
    form->setCentralWidget(central);

    // Etched separator under the menu bar.
    for (int i = 0; i < 2; ++i) {
        Line1[i] = new QFrame(central);
        Line1[i]->setGeometry(0, i, ClientWidth, 1);
        fillWith(Line1[i], i == 0 ? QColor(0x80, 0x80, 0x80) : QColor(0xFF, 0xFF, 0xFF));
    }

    // Created first so that they lie behind Frame2.
    Picture1 = new QLabel(central);
    placeTwips(Picture1, 90, 5250, 4560, 330);
    fillWith(Picture1, Qt::white);

    Frame3 = new QGroupBox(QStringLiteral("文字データ編集"), central);
    placeTwips(Frame3, 60, 150, 5175, 4875);
    Picture4Client = pictureBox(Picture4, Frame3, 90, 1050, 4995, 3285);
    PSetPic = new PaletteView(Picture4Client);
    PSetPic->setGeometry(Picture4Client->rect());
    Shape2 = new MarkerShape(Qt::red, Picture4Client);
    Shape2->hide();
    LineEdit[0] = buttonAt(QStringLiteral("縁取"), Frame3, 90, 4380, 1065, 405);
    LineEdit[1] = buttonAt(QStringLiteral("反転"), Frame3, 1200, 4380, 1065, 405);
    enlargeButton = buttonAt(QStringLiteral("拡大編集"), Frame3, 3990, 4380, 1065, 405);

    Frame2 = new QGroupBox(QStringLiteral("画面データ編集"), central);
    placeTwips(Frame2, 60, 120, 6405, 5595);
    // Opaque, or Frame3 would show through.
    Frame2->setAutoFillBackground(true);

    Text1 = new CutMarkLineEdit(Frame2);
    placeTwips(Text1, 360, 255, 4575, 360);
    Text1->setFont(RenderFont::defaultFont());

    Label1 = new QLabel(QStringLiteral("ＣＨ"), Frame2);
    // Two full-width letters must fit the 22 pixels left of the selector.
    QFont labelFont = Label1->font();
    labelFont.setPixelSize(11);
    Label1->setFont(labelFont);
    Label1->adjustSize();
    Label1->move(Twips::px(5340), Twips::px(390));
    channelList = new QComboBox(Frame2);
    channelList->setEditable(true);
    channelList->setInsertPolicy(QComboBox::NoInsert);
    placeTwips(channelList, 5670, 330, 585, 300);

    fontButton = buttonAt(QStringLiteral("フォント設定"), Frame2, 360, 720, 1365, 375);
    makeDataButton = buttonAt(QStringLiteral("データ作成"), Frame2, 1770, 720, 1365, 375);
    edgingCheck = new QCheckBox(QStringLiteral("縁取"), Frame2);
    edgingCheck->adjustSize();
    edgingCheck->move(Twips::px(3210), Twips::px(870));
    edgingCheck->setChecked(true);
    // In the free space right of "縁取", its right end under Text1's.
    fitLabel = new QLabel(Frame2);
    fitLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const int fitWidth = fitLabel->fontMetrics().horizontalAdvance(QStringLiteral("000/25")) + 4;
    const QRect text = Text1->geometry();
    fitLabel->setGeometry(text.right() + 1 - fitWidth, makeDataButton->y(), fitWidth, makeDataButton->height());

    Picture3Client = pictureBox(Picture3, Frame2, 360, 1200, 5955, 3825);
    DispPic = new ScreenGrid(Picture3Client);
    DispPic->setGeometry(Picture3Client->rect());
    // Before the first page is drawn every cell looks like code 0.
    QImage grey(CellWidth, CellHeight, QImage::Format_RGB32);
    grey.fill(QColor(0x80, 0x80, 0x80));
    for (int cell = 0; cell < Title::Cells; ++cell)
        DispPic->setImage(cell, grey);
    Shape4 = new MarkerShape(Qt::red, Picture3Client);
    Shape4->setGeometry(selectionFrame(0));

    RowLabel.append(captionAt(QStringLiteral("01"), Frame2, 120, 1320));

    DispEdit1 = buttonAt(QStringLiteral("画面クリア"), Frame2, 4770, 5100, 1545, 405);

    FileOS = form->menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    FileOpenSave[0] = FileOS->addAction(QStringLiteral("開く(&O)"));
    FileOpenSave[0]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    FileOpenSave[1] = FileOS->addAction(QStringLiteral("保存(&S)"));
    FileOpenSave[1]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    FileOpenSave[2] = FileOS->addAction(QStringLiteral("名前を付けて保存"));
    FileOS->addSeparator();
    recentMenu = FileOS->addMenu(QStringLiteral("最近使ったファイル(&R)"));
    FileOS->addSeparator();
    siteAction = FileOS->addAction(QStringLiteral("サイトを開く…"));
    FileOS->addSeparator();
    pEnd = FileOS->addAction(QStringLiteral("終了(&X)"));

    editMenu = form->menuBar()->addMenu(QStringLiteral("編集(&E)"));
    undoAction = editMenu->addAction(QStringLiteral("元に戻す"));
    undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoAction = editMenu->addAction(QStringLiteral("やり直し"));
    redoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    editMenu->addSeparator();
    allChannelsAction = editMenu->addAction(QStringLiteral("全チャンネル作成(&A)…"));

    viewMenu = form->menuBar()->addMenu(QStringLiteral("表示(&V)"));
    paletteAction = viewMenu->addAction(QStringLiteral("文字パレット"));
    paletteAction->setCheckable(true);
    monitorAction = viewMenu->addAction(QStringLiteral("モニター(&M)"));

    ComSetting = form->menuBar()->addMenu(QStringLiteral("通信(&T)"));
    DataCom = ComSetting->addAction(QStringLiteral("データ送受信"));
    ComSetting->addSeparator();
    PortSet = ComSetting->addAction(QStringLiteral("COMポート設定"));
    ComSetting->addSeparator();
    historyAction = ComSetting->addAction(QStringLiteral("通信履歴(&H)"));

    // The covered buttons of Frame3 come after the visible ones; the frame
    // comes forward while one of them has the focus (see PaletteStacking).
    QWidget::setTabOrder(Text1, channelList);
    QWidget::setTabOrder(channelList, fontButton);
    QWidget::setTabOrder(fontButton, makeDataButton);
    QWidget::setTabOrder(makeDataButton, edgingCheck);
    QWidget::setTabOrder(edgingCheck, DispPic);
    QWidget::setTabOrder(DispPic, DispEdit1);
    QWidget::setTabOrder(DispEdit1, LineEdit[0]);
    QWidget::setTabOrder(LineEdit[0], LineEdit[1]);
    QWidget::setTabOrder(LineEdit[1], enlargeButton);
    // The chain wraps round, so the covered buttons also come just before
    // Text1: without this the first of them would take the focus when the
    // window opens, where the operator can neither see nor mean it.
    Text1->setFocus();
}
