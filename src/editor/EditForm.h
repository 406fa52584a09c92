#pragma once

#include "AllChannelsDialog.h"
#include "DataFileCommands.h"
#include "MonitorStills.h"
#include "EditFormUi.h"
#include "PaletteTiles.h"
#include "WorkBitmap.h"

#include "core/TitleData.h"
#include "core/UserFolders.h"
#include "document/TitleDocument.h"

#include <QFont>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <memory>

class AllChannelsCommand;
class FileDialogs;
class FontDialogs;
class HensyuForm;
class ImageMenu;
class MonitorWindow;
class LinkPlatform;
class PortChoiceStore;
class PortDiscovery;
class LinkWindows;
class MessageBoxes;
class PaletteStacking;
class OpenSiteCommand;

// EditForm, the start-up and main window "8CH-Orvex [編集]": channel selector, the
// 13 x 30 screen grid of the current channel, the (covered) character
// palette and the file and communication menus. It is a view of the open
// title, its TitleDocument: every change goes through the document, and the
// window redraws what the document says changed.
class EditForm : public QMainWindow
{
    Q_OBJECT

public:
    // `programFolder` (ending in a separator) holds the work bitmaps and is
    // the starting folder of the file dialogs, unless it is an installed
    // copy's folder: see UserFolders.
    EditForm(TitleData &data, MessageBoxes &messageBoxes, FileDialogs &fileDialogs, FontDialogs &fontDialogs,
             const QString &programFolder, QWidget *parent = nullptr);
    ~EditForm() override;

    // Makes "データ送受信" and "COMポート設定" live: the communication window
    // and the port dialog, owned by this window, talk through `platform`.
    void attachLink(LinkPlatform &platform, PortDiscovery &discovery, PortChoiceStore &portChoices);
    LinkWindows *link() const { return m_link; }

    const EditFormUi &ui() const { return m_ui; }
    TitleDocument &document() { return m_document; }

    // "Dot data set": redraws the palette tile of `code` from its pattern. Call it after any
    // change to a pattern: nothing redraws by itself.
    void DotDataSet(int code);
    // "Display data set": redraws the 390 grid cells from layer 0 of `page`.
    void DispDataSet(int page);

    // The image of a palette tile, which screen cells copy.
    const QImage &tileImage(int code) const { return m_tiles.image(code); }
    ImageMenu *imageMenu() const { return m_imageMenu; }

    // The enlarged character editor while it exists (hidden or shown); null
    // before the first use and after the operator closed it.
    HensyuForm *enlargedEditor() const;
    // Where the font dialog starts.
    QFont fontDialogFont() const { return m_fontDialogFont; }

    // --- What the operator can do -------------------------------------
    // What he selects goes to the document, and the window shows it when
    // the document says it was selected.
    // The channel list: channel 0..7 becomes current; the grid shows its
    // page and the text box its block text.
    void selectChannel(int channel);
    // "開く(&O)", "保存(&S)", "名前を付けて保存" and opening a file from the
    // command line, a drop or the recent files: see DataFileCommands.
    void openFile() { m_files->openFile(); }
    bool saveFile() { return m_files->saveFile(); }
    bool saveFileAs() { return m_files->saveFileAs(); }
    bool openDataFile(const QString &fileName) { return m_files->openDataFile(fileName); }
    // The file named on the command line, opened once the event loop runs:
    // the window is drawn first, whatever the file turns out to be.
    void openAtStart(const QString &fileName);
    // "終了(&X)".
    void endProgram();
    // "データ送受信" and "COMポート設定".
    void openCommunication();
    void choosePort();
    // "通信履歴".
    void showTransferHistory();
    // A press on grid cell 0..389: where the next block goes.
    void selectCell(int cell);
    // "画面クリア": blanks the current channel's page.
    void clearScreen();
    // A press on palette tile `code`: its block becomes current and the
    // character goes to the enlarged editor.
    void pickCharacter(int code);
    // A double-click on palette tile `code`: places its block.
    void placePaletteBlock(int code);
    // Places the block of `code` on the current page from the selected cell
    // on, at most to the end of the row; makes that block current.
    void placeBlock(int code);
    // "データ作成": renders the text box into the current block and places it.
    void makeData();
    // "フォント設定".
    void chooseFont();
    // "全チャンネル作成…": the eight channels' texts in one dialog.
    void openAllChannels();
    AllChannelsDialog *allChannelsDialog() const;
    // "モニター": the eight monitors at a glance.
    void showMonitors();
    MonitorWindow *monitorWindow() const;
    // "拡大編集".
    void openEnlargedEditor();
    // A double-click on grid cell 0..389: the enlarged editor opens on the
    // character shown there.
    void openEnlargedEditorAt(int cell);
    // "文字パレット": the palette frame in front of the screen frame, or
    // back behind it where it was designed.
    void showPalette(bool shown);
    bool paletteShown() const;

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
    void connectControls();
    void connectDocument();
    // The enlarged character editor, created hidden the first time.
    HensyuForm &ensureEnlargedEditor();
    void showEnlargedEditor(int code);
    void showCode(int cell, int code);
    void refreshTile(int code);
    void keepInWorkFile(int page, int cell);
    void updateCaption();
    // The counter beside the text box and the cut mark in it, for the
    // text and font as they are now.
    void showFit();

    // What the document says was selected.
    void showChannel(int channel);
    void showBlock(int block);
    void showSelectedCell(int cell);

    // What the document says changed.
    void showPatterns(const QList<int> &codes);
    void showCells(int page, const QList<int> &cells);
    void showBlockText(int block);
    void showPages(const QList<int> &pages);
    void showTitle();

    TitleData &m_data;
    MessageBoxes &m_messageBoxes;
    FileDialogs &m_fileDialogs;
    FontDialogs &m_fontDialogs;
    UserFolders m_folders;
    TitleDocument m_document;
    EditFormUi m_ui;
    PaletteTiles m_tiles;
    WorkBitmap m_workBitmap;
    QFont m_fontDialogFont;
    LinkWindows *m_link = nullptr;
    ImageMenu *m_imageMenu = nullptr;
    bool m_loading = false; // in Form_Load
    // Destroys itself when the operator closes it.
    QPointer<HensyuForm> m_hensyuForm;
    DataFileCommands *m_files = nullptr;
    MonitorStills m_stills;
    std::unique_ptr<PaletteStacking> m_palette;
    std::unique_ptr<AllChannelsCommand> m_allChannels;
    std::unique_ptr<OpenSiteCommand> m_site;
    QPointer<MonitorWindow> m_monitorWindow;
};
