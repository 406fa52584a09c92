#include "EditForm.h"

#include "AllChannelsCommand.h"
#include "CutMarkLineEdit.h"
#include "FontChoice.h"
#include "MonitorWindow.h"
#include "ImageMenu.h"
#include "MarkerShape.h"
#include "PaletteStacking.h"
#include "PaletteView.h"
#include "ScreenGrid.h"
#include "OpenSiteCommand.h"

#include "charedit/HensyuForm.h"
#include "core/Twips.h"
#include "linkui/LinkWindows.h"
#include "platform/FileDialogs.h"
#include "platform/FontDialogs.h"
#include "platform/MessageBoxes.h"
#include "render/StripFit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int RowLabelStepTwips = 285;
const QString FontDialogTitle = QStringLiteral("フォント");

} // namespace

EditForm::EditForm(TitleData &data, MessageBoxes &messageBoxes, FileDialogs &fileDialogs, FontDialogs &fontDialogs,
                   const QString &programFolder, QWidget *parent)
    : QMainWindow(parent)
    , m_data(data)
    , m_messageBoxes(messageBoxes)
    , m_fileDialogs(fileDialogs)
    , m_fontDialogs(fontDialogs)
    , m_folders(UserFolders::forProgram(programFolder))
    , m_document(data, m_folders.work)
    , m_workBitmap(m_folders.work)
{
    m_ui.setupUi(this);
    m_palette = std::make_unique<PaletteStacking>(*this, PaletteStacking::Frame{*m_ui.Frame2, *m_ui.Text1},
                                                  PaletteStacking::Frame{*m_ui.Frame3, *m_ui.LineEdit[0]},
                                                  *m_ui.paletteAction);
    m_allChannels = std::make_unique<AllChannelsCommand>(m_document, fontDialogs, messageBoxes, *m_ui.Text1,
                                                         *m_ui.edgingCheck, m_fontDialogFont, *this);
    m_files =
        new DataFileCommands(m_document, *this, *m_ui.recentMenu, fileDialogs, messageBoxes, m_folders.dialogs);
    m_site = std::make_unique<OpenSiteCommand>(*m_files, fileDialogs, messageBoxes, *m_ui.Text1,
                                               *m_ui.edgingCheck, m_folders.work, *this);
    m_imageMenu =
        new ImageMenu(m_document, *this, *m_ui.FileOS, m_ui.pEnd, fileDialogs, messageBoxes, m_folders.dialogs);
    connectDocument();
    m_loading = true;
    Form_Load();
    m_loading = false;
    // Connected only now so that filling the selector during the load does
    // not count as the operator typing into it.
    connectControls();
    showFit();
    setAcceptDrops(true);
    updateCaption();
}

EditForm::~EditForm()
{
    // A write cut off by the program ending is recorded with the title's
    // file, so the link windows go while the document is still here.
    delete m_link;
    m_link = nullptr;
}

void EditForm::connectDocument()
{
    connect(&m_document, &TitleDocument::channelSelected, this, &EditForm::showChannel);
    connect(&m_document, &TitleDocument::blockSelected, this, &EditForm::showBlock);
    connect(&m_document, &TitleDocument::cellSelected, this, &EditForm::showSelectedCell);
    connect(&m_document, &TitleDocument::patternsChanged, this, &EditForm::showPatterns);
    connect(&m_document, &TitleDocument::cellsChanged, this, &EditForm::showCells);
    connect(&m_document, &TitleDocument::blockTextChanged, this, &EditForm::showBlockText);
    connect(&m_document, &TitleDocument::titleReplaced, this, &EditForm::showTitle);
    connect(&m_document, &TitleDocument::pagesChanged, this, &EditForm::showPages);
    connect(&m_document, &TitleDocument::modifiedChanged, this, &EditForm::updateCaption);
    connect(&m_document, &TitleDocument::fileNameChanged, this, &EditForm::updateCaption);
}

void EditForm::connectControls()
{
    QUndoStack &undo = m_document.undoStack();
    connect(m_ui.channelList, &QComboBox::activated, this, &EditForm::onChannelPicked);
    connect(m_ui.channelList, &QComboBox::editTextChanged, this, &EditForm::onChannelTextEdited);
    connect(m_ui.FileOpenSave[0], &QAction::triggered, m_files, &DataFileCommands::openFile);
    connect(m_ui.FileOpenSave[1], &QAction::triggered, m_files, &DataFileCommands::saveFile);
    connect(m_ui.FileOpenSave[2], &QAction::triggered, m_files, &DataFileCommands::saveFileAs);
    connect(m_ui.siteAction, &QAction::triggered, this, [this] { m_site->open(); });
    connect(m_ui.pEnd, &QAction::triggered, this, &EditForm::endProgram);
    connect(m_ui.DataCom, &QAction::triggered, this, &EditForm::openCommunication);
    connect(m_ui.PortSet, &QAction::triggered, this, &EditForm::choosePort);
    connect(m_ui.historyAction, &QAction::triggered, this, &EditForm::showTransferHistory);
    connect(m_ui.undoAction, &QAction::triggered, &undo, &QUndoStack::undo);
    connect(m_ui.redoAction, &QAction::triggered, &undo, &QUndoStack::redo);
    m_ui.undoAction->setEnabled(false);
    m_ui.redoAction->setEnabled(false);
    connect(&undo, &QUndoStack::canUndoChanged, m_ui.undoAction, &QAction::setEnabled);
    connect(&undo, &QUndoStack::canRedoChanged, m_ui.redoAction, &QAction::setEnabled);
    connect(m_ui.paletteAction, &QAction::toggled, this, &EditForm::showPalette);
    connect(m_ui.allChannelsAction, &QAction::triggered, this, &EditForm::openAllChannels);
    connect(m_ui.monitorAction, &QAction::triggered, this, &EditForm::showMonitors);
    connect(m_ui.DispEdit1, &QPushButton::clicked, this, &EditForm::clearScreen);
    connect(m_ui.makeDataButton, &QPushButton::clicked, this, &EditForm::makeData);
    connect(m_ui.fontButton, &QPushButton::clicked, this, &EditForm::chooseFont);
    connect(m_ui.Text1, &QLineEdit::textChanged, this, &EditForm::showFit);
    connect(m_ui.enlargeButton, &QPushButton::clicked, this, &EditForm::openEnlargedEditor);
    connect(m_ui.LineEdit[0], &QPushButton::clicked, &m_document, &TitleDocument::edgeBlock);
    connect(m_ui.LineEdit[1], &QPushButton::clicked, &m_document, &TitleDocument::invertBlock);
    connect(m_ui.DispPic, &ScreenGrid::pressed, this, &EditForm::selectCell);
    connect(m_ui.PSetPic, &PaletteView::pressed, this, &EditForm::pickCharacter);
    connect(m_ui.PSetPic, &PaletteView::doubleClicked, this, &EditForm::placePaletteBlock);
    connect(m_ui.DispPic, &ScreenGrid::doubleClicked, this, &EditForm::openEnlargedEditorAt);
}

void EditForm::Form_Load()
{
    // 1. The channel selector.
    m_ui.channelList->clear();
    for (int channel = 1; channel <= Title::Channels; ++channel)
        m_ui.channelList->addItem(QString::number(channel));

    // 2. An empty title: every character fully transparent.
    m_document.startEmpty();

    // 3. The palette: ten visible rows of 25, one per block; the tiles of
    // code 0 and of codes 251..255 exist only as images.
    for (int code = 0; code < Title::CodeCount; ++code)
        refreshTile(code);

    // 4. The row numbers; the grid draws its 390 cells itself.
    for (int r = 1; r < Title::Rows; ++r) {
        auto *label = new QLabel(QStringLiteral("%1").arg(r + 1, 2, 10, QLatin1Char('0')), m_ui.Frame2);
        label->adjustSize();
        const QLabel *previous = m_ui.RowLabel[r - 1];
        label->move(previous->x(), previous->y() + Twips::px(RowLabelStepTwips));
        label->show();
        m_ui.RowLabel.append(label);
    }

    // 5.
    m_ui.Shape4->raise();

    // 6. The font dialog starts from the text box's font.
    m_fontDialogFont = m_ui.Text1->font();

    // 7. Channel 1.
    m_document.selectChannel(0);

    // 8. Character 1 and block 0.
    pickCharacter(1);
}

void EditForm::Form_Unload()
{
    emit programEnded();
}

void EditForm::closeEvent(QCloseEvent *event)
{
    // Ending the program used to discard the title without a word. The
    // enlarged editor's edits first: saving them changes the title.
    const bool editsSettled = !m_hensyuForm || m_hensyuForm->settleUnsavedEdits();
    if (!editsSettled || !m_files->settleUnsavedWork()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void EditForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (!DataFileCommands::droppedDataFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void EditForm::dropEvent(QDropEvent *event)
{
    const QString fileName = DataFileCommands::droppedDataFile(event->mimeData());
    if (fileName.isEmpty())
        return;
    event->acceptProposedAction();
    m_files->openDataFileLater(fileName);
}

void EditForm::openAtStart(const QString &fileName)
{
    m_files->openDataFileLater(fileName);
}

void EditForm::selectChannel(int channel)
{
    m_document.selectChannel(channel);
}

void EditForm::onChannelPicked()
{
    m_document.selectChannel(m_ui.channelList->currentIndex());
}

void EditForm::onChannelTextEdited()
{
    const int typed = m_ui.channelList->findText(m_ui.channelList->currentText(), Qt::MatchExactly);
    // A pick from the list changes the index, and with it the text, just
    // before it is reported as a click; the click selects the channel.
    if (typed == m_ui.channelList->currentIndex())
        return;
    // The selector must never show one channel while the grid, the text box
    // and "データ作成" work on another: a typed channel number selects that
    // channel at once, anything else the current one again.
    m_document.selectChannel(typed >= 0 ? typed : m_document.channel());
}

void EditForm::showChannel(int channel)
{
    if (m_ui.channelList->currentIndex() != channel)
        m_ui.channelList->setCurrentIndex(channel);
    // The index may not have changed while typing, so put its text back too.
    if (m_ui.channelList->currentText() != m_ui.channelList->itemText(channel))
        m_ui.channelList->setEditText(m_ui.channelList->itemText(channel));
    DispDataSet(channel);
}

void EditForm::showBlock(int block)
{
    m_ui.Text1->setText(m_data.ChText[block]);
    m_ui.Shape2->setGeometry(EditFormUi::blockFrame(m_document.topCode()));
    m_ui.Shape2->show();
    m_ui.Shape2->raise();
}

void EditForm::showSelectedCell(int cell)
{
    m_ui.Shape4->setGeometry(EditFormUi::selectionFrame(cell));
    m_ui.Shape4->show();
    m_ui.DispPic->setCurrentCell(cell);
}

void EditForm::updateCaption()
{
    QString caption = EditFormUi::Caption;
    if (const QString file = m_document.dataFileName(); !file.isEmpty())
        caption += QStringLiteral(" - ") + QFileInfo(file).fileName();
    if (m_document.isModified())
        caption += QStringLiteral(" *");
    setWindowTitle(caption);
}

void EditForm::endProgram()
{
    close();
}

void EditForm::attachLink(LinkPlatform &platform, PortDiscovery &discovery, PortChoiceStore &portChoices)
{
    delete m_link;
    m_link = new LinkWindows(m_data, platform, m_messageBoxes, discovery, portChoices, this);
    m_link->recorder().setTitleSource(
        [this] { return TitleSource{m_document.dataFileName(), m_document.isModified()}; });
    // What the write settings said had changed may not hold after an edit.
    connect(&m_document, &TitleDocument::patternsChanged, m_link, &LinkWindows::titleChanged);
    connect(&m_document, &TitleDocument::cellsChanged, m_link, &LinkWindows::titleChanged);
    connect(&m_document, &TitleDocument::pagesChanged, m_link, &LinkWindows::titleChanged);
    connect(&m_document, &TitleDocument::titleReplaced, m_link, &LinkWindows::titleChanged);
}

void EditForm::openCommunication()
{
    if (m_link)
        m_link->openCommunication();
}

void EditForm::choosePort()
{
    if (m_link)
        m_link->choosePort();
}

void EditForm::showTransferHistory()
{
    if (m_link)
        m_link->showHistory();
}

void EditForm::selectCell(int cell)
{
    m_document.selectCell(cell);
}

void EditForm::clearScreen()
{
    m_document.clearScreen();
    keepInWorkFile(m_document.channel(), Title::Cells - 1);
}

void EditForm::pickCharacter(int code)
{
    // Only the tiles of the ten blocks can be pressed.
    if (!PaletteView::isTileShown(code))
        return;
    // Asked first: キャンセル about the enlarged editor's edits leaves the
    // press undone altogether.
    if (!ensureEnlargedEditor().openCharacter(code))
        return;
    m_document.selectBlockOf(code);
}

void EditForm::placePaletteBlock(int code)
{
    if (PaletteView::isTileShown(code))
        placeBlock(code);
}

void EditForm::placeBlock(int code)
{
    const int placed = m_document.placeBlock(code);
    if (placed > 0)
        keepInWorkFile(m_document.channel(), m_document.selectedCell() + placed - 1);
}

void EditForm::makeData()
{
    const MakeData::Result result =
        m_document.makeData(m_ui.Text1->text(), m_ui.Text1->font(), m_ui.edgingCheck->isChecked());
    if (!result.done()) {
        m_messageBoxes.warning(this, BlockTextGuard::title(), BlockTextGuard::message(result.refused, m_ui.Text1->text()));
        return;
    }
    if (result.cellsPlaced > 0)
        keepInWorkFile(m_document.channel(), m_document.selectedCell() + result.cellsPlaced - 1);
    showFit();
    // The data is made all the same; the operator learns what the device
    // will not show.
    if (!result.cutWarning.isEmpty())
        m_messageBoxes.warning(this, BlockTextGuard::title(), result.cutWarning);
}

void EditForm::showFit()
{
    m_ui.Text1->showFit(m_ui.Text1->font(), *m_ui.fitLabel);
}

void EditForm::chooseFont()
{
    const std::optional<QFont> chosen = m_fontDialogs.chooseFont(this, m_fontDialogFont, FontDialogTitle);
    if (!chosen)
        return;
    QFont font = m_ui.Text1->font();
    FontChoice::copy(*chosen, font);
    m_ui.Text1->setFont(font);
    showFit();
    // The dialog opens on its last choice next time.
    FontChoice::copy(*chosen, m_fontDialogFont);
}

void EditForm::openAllChannels()
{
    m_allChannels->open();
}

AllChannelsDialog *EditForm::allChannelsDialog() const
{
    return m_allChannels->dialog();
}

void EditForm::showMonitors()
{
    if (!m_monitorWindow) {
        m_monitorWindow = new MonitorWindow(m_document, m_stills, m_fileDialogs, m_messageBoxes, m_folders.dialogs, this);
        m_monitorWindow->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_monitorWindow, &MonitorWindow::channelPicked, this, &EditForm::selectChannel);
    }
    m_monitorWindow->show();
    m_monitorWindow->raise();
    m_monitorWindow->activateWindow();
}

MonitorWindow *EditForm::monitorWindow() const
{
    return m_monitorWindow;
}

HensyuForm *EditForm::enlargedEditor() const
{
    return m_hensyuForm;
}

HensyuForm &EditForm::ensureEnlargedEditor()
{
    if (!m_hensyuForm)
        m_hensyuForm = new HensyuForm(m_document, m_messageBoxes, this);
    return *m_hensyuForm;
}

void EditForm::openEnlargedEditor()
{
    // The editor takes the keyboard; coming back, the operator finds the
    // text box, not a button of a palette nobody asked to see.
    m_palette->returnFocusToScreen();
    // A hidden editor holds no edits of the operator's (closing destroys
    // it) and follows the document, so reloading it costs nothing. A shown
    // one keeps what the operator sees.
    const bool shown = m_hensyuForm && m_hensyuForm->isVisible();
    showEnlargedEditor(shown ? -1 : m_document.openedCharacter());
}

void EditForm::openEnlargedEditorAt(int cell)
{
    if (cell >= 0 && cell < Title::Cells)
        showEnlargedEditor(m_data.DispData(cell, 0, m_document.channel()));
}

// Shows the enlarged editor on `code`, or on what it holds for -1.
void EditForm::showEnlargedEditor(int code)
{
    HensyuForm &editor = ensureEnlargedEditor();
    // Shown even when the operator keeps the edits of another character:
    // that is where they are.
    if (code >= 0)
        editor.openCharacter(code);
    editor.show();
    editor.raise();
    editor.activateWindow();
}

void EditForm::showPalette(bool shown)
{
    m_palette->show(shown);
}

bool EditForm::paletteShown() const
{
    return m_palette->isShown();
}

void EditForm::showPatterns(const QList<int> &codes)
{
    std::array<bool, Title::CodeCount> changed{};
    for (int code : codes) {
        DotDataSet(code);
        changed[code] = true;
    }
    for (int cell = 0; cell < Title::Cells; ++cell) {
        const int code = m_data.DispData(cell, 0, m_document.channel());
        if (changed[code])
            showCode(cell, code);
    }
}

void EditForm::showCells(int page, const QList<int> &cells)
{
    if (page != m_document.channel()) {
        // Undoing on another channel's page: show the page that changed.
        selectChannel(page);
        return;
    }
    for (int cell : cells)
        showCode(cell, m_data.DispData(cell, 0, page));
}

void EditForm::showBlockText(int block)
{
    if (block == m_document.currentBlock())
        m_ui.Text1->setText(m_data.ChText[block]);
}

void EditForm::showPages(const QList<int> &pages)
{
    // Several channels changed at once: the operator stays where he is.
    const int channel = m_document.channel();
    if (pages.contains(channel))
        DispDataSet(channel);
}

void EditForm::showTitle()
{
    for (int code = 0; code < Title::CodeCount; ++code)
        DotDataSet(code);
    // As after the operator chose the channel again: its page, its block
    // and the block's text.
    m_document.selectChannel(m_document.channel());
}

void EditForm::DotDataSet(int code)
{
    if (code < 0 || code >= Title::CodeCount)
        return;
    m_tiles.draw(code, m_data.DotData[code]);
    refreshTile(code);
}

void EditForm::refreshTile(int code)
{
    m_ui.PSetPic->setImage(code, m_tiles.image(code));
}

void EditForm::DispDataSet(int page)
{
    if (page < 0 || page >= Title::Pages)
        return;
    for (int cell = 0; cell < Title::Cells; ++cell)
        showCode(cell, m_data.DispData(cell, 0, page));
    keepInWorkFile(page, Title::Cells - 1);
}

void EditForm::showCode(int cell, int code)
{
    m_ui.DispPic->setImage(cell, m_tiles.image(code));
}

// The work file holds the tile last laid out in a cell: after a redraw, a
// clear or a placement, that of `cell` of `page`.
void EditForm::keepInWorkFile(int page, int cell)
{
    const QImage &last = m_tiles.image(m_data.DispData(cell, 0, page));
    // The first page needs no work file before the window appears.
    if (m_loading)
        m_workBitmap.writeSoon(last);
    else
        m_workBitmap.write(last);
}
