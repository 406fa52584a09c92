#pragma once

#include "EditFormUi.h"
#include "PaletteTiles.h"
#include "WorkBitmap.h"

#include "core/FileSystem.h"
#include "core/TitleData.h"

#include <QFont>
#include <QMainWindow>
#include <QPointer>
#include <QString>

class FileDialogs;
class FontDialogs;
class HensyuForm;
class LinkPlatform;
class LinkWindows;
class MessageBoxes;

// The start-up and main window "8CH-Orvex [編集]": channel selector, the
// 13 x 30 screen grid of the current channel, the (covered) character
// palette and the file and communication menus. The title data belongs to
// the application; the window reads and writes it directly.
class EditForm : public QMainWindow
{
    Q_OBJECT

public:
    // `workFolder` (ending in a separator) holds the work bitmaps and is the
    // starting folder of the file dialogs.
    EditForm(TitleData &data, MessageBoxes &messageBoxes, FileDialogs &fileDialogs, FontDialogs &fontDialogs,
             const QString &workFolder = FileSystem::GetAppPath(), QWidget *parent = nullptr);
    ~EditForm() override;

    // Makes "データ送受信" and "COMポート設定" live: the communication window
    // and the port dialog, owned by this window, talk through `platform`.
    void attachLink(LinkPlatform &platform);
    LinkWindows *link() const { return m_link; }

    const EditFormUi &ui() const { return m_ui; }
    TitleData &data() { return m_data; }

    // Redraws the palette tile of `code` from its pattern. Call it after any
    // change to a pattern: nothing redraws by itself.
    void DotDataSet(int code);
    // Redraws the 390 grid cells from layer 0 of `page`.
    void DispDataSet(int page);

    // The image of a palette tile, which screen cells copy.
    const QImage &tileImage(int code) const { return m_tiles.image(code); }
    // Fills a tile with its background, dots and all.
    void clearTile(int code);
    // Places the block of `code` on the current page from the selected cell
    // on, at most to the end of the row; makes that block current.
    void placeBlock(int code);

    // The enlarged character editor while it exists (hidden or shown); null
    // before the first use and after the operator closed it.
    HensyuForm *enlargedEditor() const;

    // Handlers, under the window's event names.
    void Combo1_Click();
    void Combo1_Change();
    void FileOpenSave_Click(int index);
    void pEnd_Click();
    void DataCom_Click();
    void PortSet_Click();
    void DispPic_MouseDown(int cell);
    void DispEdit_Click(int index);
    void PSetPic_MouseDown(int code);
    void PSetPic_DblClick(int code);
    void Command1_Click();
    void Command2_Click();
    void LineEdit_Click(int index);
    void Command4_Click();

    // Mode 0 reads `fileName` into the title data and redraws every tile,
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

private:
    void Form_Load();
    void Form_Unload();
    void connectControls();
    // Hands the pressed character to the enlarged character editor,
    // creating it hidden the first time.
    void KakudaiDataSet(int code);
    HensyuForm &ensureEnlargedEditor();
    void redrawBlockTiles();
    void showCode(int cell, int code);
    void refreshTile(int code);
    bool saveTo(const QString &fileName);
    void fileError(const QString &message);

    TitleData &m_data;
    MessageBoxes &m_messageBoxes;
    FileDialogs &m_fileDialogs;
    FontDialogs &m_fontDialogs;
    QString m_workFolder;
    EditFormUi m_ui;
    PaletteTiles m_tiles;
    WorkBitmap m_workBitmap;
    LinkWindows *m_link = nullptr;
    // Destroys itself when the operator closes it.
    QPointer<HensyuForm> m_hensyuForm;
};
