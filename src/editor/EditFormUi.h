#pragma once

#include <QList>
#include <QRect>
#include <QString>

class CutMarkLineEdit;
class MarkerShape;
class PaletteView;
class ScreenGrid;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPushButton;
class QWidget;

// The controls of the editor window as designed, at their design positions.
// The control arrays hold only their designed members here; the window adds
// the rest when it loads.
struct EditFormUi
{
    static inline const QString Caption = QStringLiteral("8CH-Orvex [編集]");
    static constexpr int ClientWidth = 436;
    static constexpr int ClientHeight = 386;
    // Cells of the screen grid and tiles of the palette as first designed.
    static constexpr int CellWidth = 12;
    static constexpr int CellHeight = 18;

    // Where the red marker of the selected cell stands in Picture3Client:
    // around the run of 25 cells a block would fill from `cell`.
    static QRect selectionFrame(int cell);
    // Where the red marker of the current block stands in Picture4Client:
    // around the row of 25 tiles from `topCode`, one pixel to spare.
    static QRect blockFrame(int topCode);

    void setupUi(QMainWindow *form);

    QWidget *central = nullptr;
    QFrame *Line1[2] = {};

    // Behind Frame2: never seen, but the palette is the grid's image store
    // and the buttons still take the keyboard focus.
    QLabel *Picture1 = nullptr;
    QGroupBox *Frame3 = nullptr;
    QFrame *Picture4 = nullptr;
    QWidget *Picture4Client = nullptr; // the pixel-scale area inside the border
    // The 256 palette tiles, drawn by one widget that fills Picture4Client.
    PaletteView *PSetPic = nullptr;
    MarkerShape *Shape2 = nullptr;
    QPushButton *LineEdit[2] = {}; // "縁取", "反転"
    QPushButton *enlargeButton = nullptr;  // "拡大編集"

    QGroupBox *Frame2 = nullptr;
    CutMarkLineEdit *Text1 = nullptr;
    // How much of the block's 25 characters the text uses, "18/25", under
    // the right end of Text1; red once the text does not fit.
    QLabel *fitLabel = nullptr;
    QLabel *Label1 = nullptr;
    QComboBox *channelList = nullptr;      // "ＣＨ" 1..8
    QPushButton *fontButton = nullptr;     // "フォント設定"
    QPushButton *makeDataButton = nullptr; // "データ作成"
    QCheckBox *edgingCheck = nullptr;      // "縁取"
    QFrame *Picture3 = nullptr;
    QWidget *Picture3Client = nullptr;
    // The 390 screen cells, drawn by one widget that fills Picture3Client.
    ScreenGrid *DispPic = nullptr;
    MarkerShape *Shape4 = nullptr;
    QList<QLabel *> RowLabel;
    // Only member 1, "画面クリア", exists; 0 and 2 were never shown.
    QPushButton *DispEdit1 = nullptr;

    QMenu *FileOS = nullptr;
    QAction *FileOpenSave[3] = {};
    QMenu *recentMenu = nullptr;           // "最近使ったファイル(&R)"
    QAction *siteAction = nullptr;         // "サイトを開く…"
    QAction *pEnd = nullptr;
    QMenu *editMenu = nullptr;             // "編集(&E)"
    QAction *undoAction = nullptr;         // "元に戻す"
    QAction *redoAction = nullptr;         // "やり直し"
    QAction *allChannelsAction = nullptr;  // "全チャンネル作成…"
    QMenu *viewMenu = nullptr;             // "表示(&V)"
    QAction *paletteAction = nullptr;      // "文字パレット", checkable
    QAction *monitorAction = nullptr;      // "モニター"
    QMenu *ComSetting = nullptr;
    QAction *DataCom = nullptr;
    QAction *PortSet = nullptr;
    QAction *historyAction = nullptr;      // "通信履歴"
};
