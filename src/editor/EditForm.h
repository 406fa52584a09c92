#pragma once

#include "EditFormUi.h"
#include "PaletteTiles.h"
#include "RecentFiles.h"
#include "WorkBitmap.h"
#include "undo/PatternEdit.h"
#include "undo/TitleView.h"

#include "core/FileSystem.h"
#include "core/TitleData.h"
#include "core/UserFolders.h"

#include <QFont>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QUndoStack>

#include <vector>

class FileDialogs;
class FontDialogs;
class HensyuForm;
class ImageMenu;
class LinkPlatform;
class LinkWindows;
class MessageBoxes;

// EditForm, the start-up and main window "8CH-Orvex [編集]": channel selector, the
// 13 x 30 screen grid of the current channel, the (covered) character
// palette and the file and communication menus. The title data belongs to
// the application; the window reads it directly and changes it only in undo
// steps, so that every change can be taken back and marks the work unsaved.
class EditForm : public QMainWindow, private TitleView
{
    Q_OBJECT

public:
    // `programFolder` (ending in a separator) holds the work bitmaps and is
    // the starting folder of the file dialogs, unless it is an installed
    // copy's folder: see UserFolders.
    EditForm(TitleData &data, MessageBoxes &messageBoxes, FileDialogs &fileDialogs, FontDialogs &fontDialogs,
             const QString &programFolder = FileSystem::GetAppPath(), QWidget *parent = nullptr);
    ~EditForm() override;

    // Makes "データ送受信" and "COMポート設定" live: the communication window
    // and the port dialog, owned by this window, talk through `platform`.
    void attachLink(LinkPlatform &platform);
    LinkWindows *link() const { return m_link; }

    const EditFormUi &ui() const { return m_ui; }
    TitleData &data() { return m_data; }

    // "Dot data set": redraws the palette tile of `code` from its pattern. Call it after any
    // change to a pattern: nothing redraws by itself.
    void DotDataSet(int code);
    // "Display data set": redraws the 390 grid cells from layer 0 of `page`.
    void DispDataSet(int page);

    // The image of a palette tile, which screen cells copy.
    const QImage &tileImage(int code) const { return m_tiles.image(code); }
    // Fills a tile with its background, dots and all.
    void clearTile(int code);
    // Places the block of `code` on the current page from the selected cell
    // on, at most to the end of the row; makes that block current.
    void placeBlock(int code);

    // Replaces the characters of `firstCode` on with `patterns` as one undo
    // step named `what`, and redraws their tiles, the current page and the
    // enlarged editor. Every import of characters goes through here.
    void importPatterns(int firstCode, const std::vector<CharPattern> &patterns, const QString &what);
    ImageMenu *imageMenu() const { return m_imageMenu; }

    // The enlarged character editor while it exists (hidden or shown); null
    // before the first use and after the operator closed it.
    HensyuForm *enlargedEditor() const;

    // --- What the operator can do -------------------------------------
    // The channel list: channel 0..7 becomes current; the grid shows its
    // page and the text box its block text.
    void selectChannel(int channel);
    // "開く(&O)", "上書き保存(&S)", "名前を付けて保存(&A)". The saves return
    // whether the title was written (false when cancelled or failed).
    void openFile();
    bool saveFile();
    bool saveFileAs();
    // Opens `fileName` as "開く" does after its dialog: from the command
    // line, a drop or the recent files. Asks about unsaved work first and
    // shows the file error box when the file cannot be read.
    bool openDataFile(const QString &fileName);
    // "終了(&X)".
    void endProgram();
    // "データ送受信" and "COMポート設定".
    void openCommunication();
    void choosePort();
    // A press on grid cell 0..389: where the next block goes.
    void selectCell(int cell);
    // "画面クリア": blanks the current channel's page.
    void clearScreen();
    // A press on palette tile `code`: its block becomes current and the
    // character goes to the enlarged editor.
    void pickCharacter(int code);
    // A double-click on palette tile `code`: places its block.
    void placePaletteBlock(int code);
    // "データ作成": renders the text box into the current block and places it.
    void makeData();
    // "フォント設定".
    void chooseFont();
    // "縁取" and "反転" of the palette frame: the current block's patterns.
    void edgeBlock();
    void invertBlock();
    // "拡大編集".
    void openEnlargedEditor();
    // A double-click on grid cell 0..389: the enlarged editor opens on the
    // character shown there.
    void openEnlargedEditorAt(int cell);
    // "文字パレット": the palette frame in front of the screen frame, or
    // back behind it where it was designed.
    void showPalette(bool shown);
    bool paletteShown() const;

    // "元に戻す" and "やり直し" go through this stack; it is clean while the
    // title is as last opened or saved.
    QUndoStack &undoStack() { return m_undo; }
    // Records a set of replaced patterns as one undo step ("貼り付け",
    // "保存" of the enlarged editor, imported images).
    void replacePatterns(const PatternEdit::Patterns &patterns, const QString &what);
    // Asks "変更を保存しますか？" when the title has unsaved changes; true when
    // the caller may go on (saved or discarded, or nothing to ask).
    bool settleUnsavedWork();
    // The folder the file dialogs start in.
    QString dialogFolder() const;

    // The data file command: mode 0 reads `fileName` into the title data and redraws every tile,
    // mode 1 writes the title data to it; other modes do nothing. On failure
    // returns false with the operator's message in `error`, and a failed
    // read leaves the title data as it was. After a read, `notice` says what
    // had to be changed so that the title can be saved again (or is empty).
    bool MCMFileSet(int mode, const QString &fileName, QString *error = nullptr, QString *notice = nullptr);

    int TopCode = 1;          // first code of the current block
    int SelCell = 0;          // selected screen cell 0..389
    QString DataFileName;     // the file the title was last opened from or saved to
    QString LastFileName;     // empty until a file command completes; Save then asks for a name
    QFont FontDialogFont;     // where the font dialog starts

signals:
    // The operator ended the program (menu or close box).
    void programEnded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void Form_Load();
    void Form_Unload();
    void onChannelPicked();
    void onChannelTextEdited();
    void editBlock(void (*edit)(TitleData &, int), const QString &what);
    void connectControls();
    // Hands the pressed character to the enlarged character editor,
    // creating it hidden the first time.
    void KakudaiDataSet(int code);
    HensyuForm &ensureEnlargedEditor();
    void redrawBlockTiles();
    void showCode(int cell, int code);
    void refreshTile(int code);
    bool loadDataFile(const QString &fileName);
    bool saveTo(const QString &fileName);
    void fileError(const QString &message);
    void fileUsed(const QString &fileName);
    void updateCaption();
    void updateRecentMenu();
    void openRecentFile(const QString &fileName);

    // TitleView: what undo steps ask to be redrawn.
    void showPatterns(const QList<int> &codes) override;
    void showCells(int page, const QList<int> &cells) override;
    void showBlockText(int block) override;
    void showTitle(const TitleFileNames &file) override;

    TitleData &m_data;
    MessageBoxes &m_messageBoxes;
    FileDialogs &m_fileDialogs;
    FontDialogs &m_fontDialogs;
    UserFolders m_folders;
    EditFormUi m_ui;
    PaletteTiles m_tiles;
    WorkBitmap m_workBitmap;
    LinkWindows *m_link = nullptr;
    ImageMenu *m_imageMenu = nullptr;
    bool m_loading = false; // in Form_Load
    // Destroys itself when the operator closes it.
    QPointer<HensyuForm> m_hensyuForm;
    QUndoStack m_undo;
    RecentFiles m_recentFiles;
};
