#include "EditForm.h"

#include "DialogFolder.h"
#include "ImageMenu.h"
#include "MarkerShape.h"
#include "PaletteView.h"
#include "ScreenGrid.h"
#include "undo/BlockTextEdit.h"
#include "undo/PageEdit.h"
#include "undo/TitleReplace.h"

#include "charedit/HensyuForm.h"
#include "core/ScreenLayout.h"
#include "core/ZvxReader.h"
#include "core/ZvxWriter.h"
#include "render/BlockEdit.h"
#include "render/MakeData.h"
#include "linkui/LinkWindows.h"
#include "platform/FileDialogs.h"
#include "platform/FontDialogs.h"
#include "platform/MessageBoxes.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString DataFileFilter = QStringLiteral("zvx ﾌｧｲﾙ(*.zvx)|*.zvx|");
const QString DataFileExtension = QStringLiteral(".zvx");
const QString FileErrorTitle = QStringLiteral("ファイルエラー");
const QString Caption = QStringLiteral("8CH-Orvex [編集]");
const QString SaveQuestion = QStringLiteral("変更を保存しますか？");
constexpr int UndoLimit = 100;

constexpr int PaletteColumns = Title::BlockSize;
constexpr int RowLabelStepTwips = 285;
const QString FontDialogTitle = QStringLiteral("フォント");

// What the font dialog decides about a font; its colour and anything else
// it may carry are not used.
void copyFontChoice(const QFont &from, QFont &to)
{
    to.setFamily(from.family());
    if (from.pointSizeF() > 0)
        to.setPointSizeF(from.pointSizeF());
    else
        to.setPixelSize(from.pixelSize());
    to.setBold(from.bold());
    to.setItalic(from.italic());
    to.setUnderline(from.underline());
    to.setStrikeOut(from.strikeOut());
}

// The one local data file among dropped URLs, or nothing.
QString droppedDataFile(const QMimeData *mime)
{
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1)
        return {};
    const QString path = mime->urls().constFirst().toLocalFile();
    return path.endsWith(DataFileExtension, Qt::CaseInsensitive) ? path : QString();
}
} // namespace

EditForm::EditForm(TitleData &data, MessageBoxes &messageBoxes, FileDialogs &fileDialogs, FontDialogs &fontDialogs,
                   const QString &programFolder, QWidget *parent)
    : QMainWindow(parent)
    , m_data(data)
    , m_messageBoxes(messageBoxes)
    , m_fileDialogs(fileDialogs)
    , m_fontDialogs(fontDialogs)
    , m_folders(UserFolders::forProgram(programFolder))
    , m_workBitmap(m_folders.work)
{
    // A step holds only what it changed (a rendering some 80 KB, an opened
    // file two whole titles); a long session must not grow without end.
    m_undo.setUndoLimit(UndoLimit);
    m_ui.setupUi(this);
    m_imageMenu = new ImageMenu(*this, *m_ui.FileOS, m_ui.pEnd, fileDialogs, messageBoxes, m_folders.dialogs);
    m_loading = true;
    Form_Load();
    m_loading = false;
    // Connected only now so that filling the selector during the load does
    // not count as the operator typing into it.
    connectControls();
    setAcceptDrops(true);
    updateRecentMenu();
    updateCaption();
}

EditForm::~EditForm() = default;

void EditForm::connectControls()
{
    connect(m_ui.channelList, &QComboBox::activated, this, &EditForm::onChannelPicked);
    connect(m_ui.channelList, &QComboBox::editTextChanged, this, &EditForm::onChannelTextEdited);
    connect(m_ui.FileOpenSave[0], &QAction::triggered, this, &EditForm::openFile);
    connect(m_ui.FileOpenSave[1], &QAction::triggered, this, &EditForm::saveFile);
    connect(m_ui.FileOpenSave[2], &QAction::triggered, this, &EditForm::saveFileAs);
    connect(m_ui.pEnd, &QAction::triggered, this, &EditForm::endProgram);
    connect(m_ui.DataCom, &QAction::triggered, this, &EditForm::openCommunication);
    connect(m_ui.PortSet, &QAction::triggered, this, &EditForm::choosePort);
    connect(m_ui.undoAction, &QAction::triggered, &m_undo, &QUndoStack::undo);
    connect(m_ui.redoAction, &QAction::triggered, &m_undo, &QUndoStack::redo);
    m_ui.undoAction->setEnabled(false);
    m_ui.redoAction->setEnabled(false);
    connect(&m_undo, &QUndoStack::canUndoChanged, m_ui.undoAction, &QAction::setEnabled);
    connect(&m_undo, &QUndoStack::canRedoChanged, m_ui.redoAction, &QAction::setEnabled);
    connect(&m_undo, &QUndoStack::cleanChanged, this, &EditForm::updateCaption);
    connect(m_ui.paletteAction, &QAction::toggled, this, &EditForm::showPalette);
    connect(m_ui.DispEdit1, &QPushButton::clicked, this, &EditForm::clearScreen);
    connect(m_ui.makeDataButton, &QPushButton::clicked, this, &EditForm::makeData);
    connect(m_ui.fontButton, &QPushButton::clicked, this, &EditForm::chooseFont);
    connect(m_ui.enlargeButton, &QPushButton::clicked, this, &EditForm::openEnlargedEditor);
    for (int i = 0; i < 2; ++i)
        connect(m_ui.LineEdit[i], &QPushButton::clicked, this, i == 0 ? &EditForm::edgeBlock : &EditForm::invertBlock);
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

    // 2. Every character fully transparent.
    for (auto &pattern : m_data.DotData)
        pattern.fill(PixelCode::transparent());

    // 3. The palette: ten visible rows of 25, one per block; the tiles of
    // code 0 and of codes 251..255 exist only as images.
    for (int code = 0; code < Title::CodeCount; ++code)
        refreshTile(code);

    // 4. The row numbers; the grid draws its 390 cells itself.
    for (int r = 1; r < Title::Rows; ++r) {
        auto *label = new QLabel(QStringLiteral("%1").arg(r + 1, 2, 10, QLatin1Char('0')), m_ui.Frame2);
        label->adjustSize();
        const QLabel *previous = m_ui.RowLabel[r - 1];
        label->move(previous->x(), previous->y() + EditFormUi::px(RowLabelStepTwips));
        label->show();
        m_ui.RowLabel.append(label);
    }

    // 5.
    m_ui.Shape4->raise();

    // 6. The font dialog starts from the text box's font.
    FontDialogFont = m_ui.Text1->font();

    // 7. Channel 1.
    m_ui.channelList->setCurrentIndex(0);
    onChannelPicked();

    // 8. Character 1 and block 0.
    pickCharacter(1);
}

void EditForm::Form_Unload()
{
    emit programEnded();
}

void EditForm::closeEvent(QCloseEvent *event)
{
    // Ending the program used to discard the title without a word.
    if (!settleUnsavedWork()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void EditForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedDataFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void EditForm::dropEvent(QDropEvent *event)
{
    const QString fileName = droppedDataFile(event->mimeData());
    if (fileName.isEmpty())
        return;
    event->acceptProposedAction();
    // Not inside the drop: the question about unsaved work would keep the
    // program the file came from waiting for the drop to end.
    QMetaObject::invokeMethod(
        this, [this, fileName] { openDataFile(fileName); }, Qt::QueuedConnection);
}

bool EditForm::settleUnsavedWork()
{
    if (m_undo.isClean())
        return true;
    switch (m_messageBoxes.askSave(this, Caption, SaveQuestion)) {
    case MessageBoxes::SaveChoice::Save:
        return saveFile();
    case MessageBoxes::SaveChoice::Discard:
        return true;
    case MessageBoxes::SaveChoice::Cancel:
        break;
    }
    return false;
}

void EditForm::selectChannel(int channel)
{
    if (channel < 0 || channel >= m_ui.channelList->count())
        return;
    m_ui.channelList->setCurrentIndex(channel);
    onChannelPicked();
}

void EditForm::onChannelPicked()
{
    m_data.ChNo = qint16(m_ui.channelList->currentIndex());
    DispDataSet(m_data.ChNo);
    TopCode = m_data.ChNo * Title::BlockSize + 1;
    m_ui.Text1->setText(m_data.ChText[m_data.ChNo]);
}

void EditForm::onChannelTextEdited()
{
    const int typed = m_ui.channelList->findText(m_ui.channelList->currentText(), Qt::MatchExactly);
    // A pick from the list changes the index, and with it the text, just
    // before it is reported as a click; the click selects the channel.
    if (typed == m_ui.channelList->currentIndex())
        return;
    if (typed >= 0) {
        // The selector must never show one channel while the grid, the
        // text box and "データ作成" work on another: a typed channel number
        // selects that channel at once.
        m_ui.channelList->setCurrentIndex(typed);
        onChannelPicked();
        return;
    }
    m_ui.channelList->setCurrentIndex(m_data.ChNo);
    // The index may not have changed while typing, so put its text back too.
    m_ui.channelList->setEditText(m_ui.channelList->itemText(m_data.ChNo));
    onChannelPicked();
}

void EditForm::openFile()
{
    if (!settleUnsavedWork())
        return;
    const QString name = m_fileDialogs.openFileName(this, QStringLiteral("データファイルを開く"), DataFileFilter,
                                                    dialogFolder(), DataFileExtension);
    if (name.isEmpty())
        return;
    loadDataFile(name);
}

bool EditForm::openDataFile(const QString &fileName)
{
    return settleUnsavedWork() && loadDataFile(fileName);
}

bool EditForm::loadDataFile(const QString &fileName)
{
    auto before = std::make_unique<TitleData>();
    before->assignTitleFrom(m_data);
    QString error;
    QString notice;
    if (!MCMFileSet(0, fileName, &error, &notice)) {
        fileError(error);
        return false;
    }
    const TitleFileNames fileBefore{DataFileName, LastFileName};
    m_undo.push(new TitleReplace(m_data, *this, *before, fileBefore, {fileName, fileName},
                                 QStringLiteral("開く")));
    m_undo.setClean();
    fileUsed(fileName);
    // Told once the title is on screen, so the operator can see what changed.
    if (!notice.isEmpty())
        m_messageBoxes.warning(this, QStringLiteral("データファイルを開く"), notice);
    return true;
}

bool EditForm::saveFile()
{
    if (LastFileName.isEmpty())
        return saveFileAs();
    return saveTo(DataFileName);
}

bool EditForm::saveFileAs()
{
    QString name = m_fileDialogs.saveFileName(this, QStringLiteral("データファイルの保存"), DataFileFilter,
                                              dialogFolder(), DataFileExtension);
    if (name.isEmpty())
        return false;
    // Case-sensitive on purpose: "TITLE.ZVX" becomes "TITLE.ZVX.zvx".
    if (!name.endsWith(DataFileExtension, Qt::CaseSensitive))
        name += DataFileExtension;
    return saveTo(name);
}

bool EditForm::saveTo(const QString &fileName)
{
    QString error;
    if (!MCMFileSet(1, fileName, &error)) {
        fileError(error);
        return false;
    }
    DataFileName = fileName;
    LastFileName = DataFileName;
    m_undo.setClean();
    fileUsed(fileName);
    return true;
}

void EditForm::fileUsed(const QString &fileName)
{
    m_recentFiles.add(fileName);
    updateRecentMenu();
    updateCaption();
}

QString EditForm::dialogFolder() const
{
    return DialogFolder::start(m_recentFiles.lastFolder(), m_folders.dialogs);
}

void EditForm::updateCaption()
{
    QString caption = Caption;
    if (!DataFileName.isEmpty())
        caption += QStringLiteral(" - ") + QFileInfo(DataFileName).fileName();
    if (!m_undo.isClean())
        caption += QStringLiteral(" *");
    setWindowTitle(caption);
}

void EditForm::updateRecentMenu()
{
    QMenu *menu = m_ui.recentMenu;
    menu->clear();
    const QStringList files = m_recentFiles.files();
    for (int i = 0; i < files.size(); ++i) {
        const QString &file = files[i];
        QAction *item = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(file)));
        connect(item, &QAction::triggered, this, [this, file] { openRecentFile(file); });
    }
    menu->setEnabled(!files.isEmpty());
}

void EditForm::openRecentFile(const QString &fileName)
{
    if (!settleUnsavedWork())
        return;
    if (!QFileInfo::exists(fileName)) {
        // A file that is gone cannot come back through the list.
        m_recentFiles.remove(fileName);
        updateRecentMenu();
    }
    loadDataFile(fileName);
}

void EditForm::fileError(const QString &message)
{
    m_messageBoxes.warning(this, FileErrorTitle, message);
}

bool EditForm::MCMFileSet(int mode, const QString &fileName, QString *error, QString *notice)
{
    if (mode == 0) {
        const ZvxReadResult result = ZvxReader::readFile(fileName, m_data);
        if (!result.ok()) {
            if (error)
                *error = result.message();
            return false;
        }
        if (notice)
            *notice = result.notice();
        for (int code = 0; code < Title::CodeCount; ++code)
            DotDataSet(code);
        return true;
    }
    if (mode == 1) {
        const ZvxWriteResult result = ZvxWriter::writeFile(fileName, m_data);
        if (!result.ok) {
            if (error)
                *error = result.message();
            return false;
        }
    }
    return true;
}

void EditForm::endProgram()
{
    close();
}

void EditForm::attachLink(LinkPlatform &platform)
{
    delete m_link;
    m_link = new LinkWindows(m_data, platform, m_messageBoxes, this);
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

void EditForm::selectCell(int cell)
{
    if (cell < 0 || cell >= Title::Cells)
        return;
    m_ui.Shape4->setGeometry(EditFormUi::selectionFrame(cell));
    m_ui.Shape4->show();
    SelCell = cell;
}

void EditForm::clearScreen()
{
    const PageEdit::Layer before = PageEdit::snapshot(m_data, m_data.ChNo);
    ScreenLayout::clearPage(m_data, m_data.ChNo);
    m_undo.push(new PageEdit(m_data, *this, m_data.ChNo, before, QStringLiteral("画面クリア")));
    // As after any page redraw, the work file holds the last cell's tile.
    m_workBitmap.write(m_tiles.image(m_data.DispData(Title::Cells - 1, 0, m_data.ChNo)));
}

void EditForm::pickCharacter(int code)
{
    // Only the tiles of the ten blocks can be pressed.
    if (code < 1 || code > Title::Blocks * Title::BlockSize)
        return;
    const int block = (code - 1) / Title::BlockSize;
    m_ui.Text1->setText(m_data.ChText[block]);
    TopCode = ScreenLayout::blockTopCode(code);
    const QRect first = PaletteView::tileRect(TopCode);
    m_ui.Shape2->setGeometry(first.x() - 1, first.y() - 1, PaletteColumns * (PaletteTiles::Width - 1) + 3,
                             PaletteTiles::Height + 2);
    m_ui.Shape2->show();
    m_ui.Shape2->raise();
    KakudaiDataSet(code);
}

void EditForm::placePaletteBlock(int code)
{
    if (code < 1 || code > Title::Blocks * Title::BlockSize)
        return;
    placeBlock(code);
}

void EditForm::placeBlock(int code)
{
    TopCode = ScreenLayout::blockTopCode(code);
    const PageEdit::Layer before = PageEdit::snapshot(m_data, m_data.ChNo);
    const int placed = ScreenLayout::placeBlock(m_data, m_data.ChNo, SelCell, TopCode);
    m_undo.push(new PageEdit(m_data, *this, m_data.ChNo, before, QStringLiteral("ブロック配置")));
    // The work file ends up holding the last placed cell's tile.
    if (placed > 0)
        m_workBitmap.write(m_tiles.image(TopCode + placed - 1));
}

void EditForm::KakudaiDataSet(int code)
{
    ensureEnlargedEditor().KakudaiDataSet(code);
}

HensyuForm *EditForm::enlargedEditor() const
{
    return m_hensyuForm;
}

HensyuForm &EditForm::ensureEnlargedEditor()
{
    if (!m_hensyuForm)
        m_hensyuForm = new HensyuForm(
            m_data, [this](int code, const CharPattern &pattern, const QString &what) {
                replacePatterns({{code, pattern}}, what);
            },
            this);
    return *m_hensyuForm;
}

void EditForm::makeData()
{
    MakeData::Request request;
    request.text = m_ui.Text1->text();
    request.font = m_ui.Text1->font();
    request.edging = m_ui.edgingCheck->isChecked();
    request.topCode = TopCode;
    request.page = m_data.ChNo;
    request.selCell = SelCell;
    request.workFolder = m_folders.work;
    const int block = TopCode / Title::BlockSize;
    const PatternEdit::Patterns patternsBefore = PatternEdit::snapshot(m_data, TopCode, Title::BlockSize);
    const QString textBefore = m_data.ChText[block];
    const PageEdit::Layer pageBefore = PageEdit::snapshot(m_data, m_data.ChNo);
    // The strip is read from the drawing in memory, so Picture2 never needs
    // to be shown for the read-back.
    const MakeData::Result result = MakeData::run(m_data, request);
    if (!result.done()) {
        m_messageBoxes.warning(this, BlockTextGuard::title(), BlockTextGuard::message(result.refused));
        return;
    }
    // Sampling starts each tile from its plain background.
    for (int k = 0; k < Title::BlockSize; ++k)
        m_tiles.clear(TopCode + k);
    redrawBlockTiles();
    // One step for the patterns, the text and the page: the operator made
    // one change. Patterns come first so the cells copy the new tiles.
    auto *step = new QUndoCommand(QStringLiteral("データ作成"));
    new PatternEdit(m_data, *this, patternsBefore, QString(), step);
    new BlockTextEdit(m_data, *this, block, textBefore, QString(), step);
    new PageEdit(m_data, *this, m_data.ChNo, pageBefore, QString(), step);
    m_undo.push(step);
    // The work file ends up holding the last placed cell's tile.
    if (result.cellsPlaced > 0)
        m_workBitmap.write(m_tiles.image(TopCode + result.cellsPlaced - 1));
}

void EditForm::chooseFont()
{
    const std::optional<QFont> chosen = m_fontDialogs.chooseFont(this, FontDialogFont, FontDialogTitle);
    if (!chosen)
        return;
    QFont font = m_ui.Text1->font();
    copyFontChoice(*chosen, font);
    m_ui.Text1->setFont(font);
    // The dialog opens on its last choice next time.
    copyFontChoice(*chosen, FontDialogFont);
}

void EditForm::edgeBlock()
{
    editBlock(BlockEdit::edge, QStringLiteral("縁取"));
}

void EditForm::invertBlock()
{
    editBlock(BlockEdit::invert, QStringLiteral("反転"));
}

void EditForm::editBlock(void (*edit)(TitleData &, int), const QString &what)
{
    const PatternEdit::Patterns before = PatternEdit::snapshot(m_data, TopCode, Title::BlockSize);
    edit(m_data, TopCode);
    m_undo.push(new PatternEdit(m_data, *this, before, what));
}

void EditForm::replacePatterns(const PatternEdit::Patterns &patterns, const QString &what)
{
    m_undo.push(PatternEdit::replace(m_data, *this, patterns, what));
}

void EditForm::redrawBlockTiles()
{
    for (int k = 0; k < Title::BlockSize; ++k)
        DotDataSet(TopCode + k);
}

void EditForm::openEnlargedEditor()
{
    HensyuForm &editor = ensureEnlargedEditor();
    // A hidden editor holds no edits of the operator's (closing destroys
    // it), but its grid may predate a rendering or a file load since the
    // character was handed over; saving that stale grid would quietly undo
    // them. So it opens on the character as it is now.
    if (!editor.isVisible())
        editor.KakudaiDataSet(m_data.HensyuNo);
    editor.show();
    editor.raise();
    editor.activateWindow();
}

void EditForm::importPatterns(int firstCode, const std::vector<CharPattern> &patterns, const QString &what)
{
    const int end = firstCode + int(patterns.size());
    const int shown = m_data.HensyuNo;
    // An enlarged view that still shows the stored character follows the
    // import; one holding unsaved edits keeps them, as after a rendering.
    bool followImport = false;
    if (m_hensyuForm && shown >= firstCode && shown < end) {
        KakudaiGrid unedited;
        unedited.load(m_data.DotData[shown]);
        followImport = m_hensyuForm->grid() == unedited;
    }

    PatternEdit::Patterns replaced;
    for (int code = firstCode; code < end; ++code)
        replaced.insert(code, patterns[std::size_t(code - firstCode)]);
    replacePatterns(replaced, what);
    if (followImport)
        m_hensyuForm->KakudaiDataSet(shown);
}

void EditForm::openEnlargedEditorAt(int cell)
{
    if (cell < 0 || cell >= Title::Cells)
        return;
    HensyuForm &editor = ensureEnlargedEditor();
    editor.KakudaiDataSet(m_data.DispData(cell, 0, m_data.ChNo));
    editor.show();
    editor.raise();
    editor.activateWindow();
}

void EditForm::showPalette(bool shown)
{
    if (m_ui.paletteAction->isChecked() != shown)
        m_ui.paletteAction->setChecked(shown);
    if (shown) {
        // Designed to be covered, so it never needed a background of its own.
        m_ui.Frame3->setAutoFillBackground(true);
        m_ui.Frame3->raise();
    } else {
        m_ui.Frame2->raise();
    }
}

bool EditForm::paletteShown() const
{
    return m_ui.paletteAction->isChecked();
}

void EditForm::showPatterns(const QList<int> &codes)
{
    std::array<bool, Title::CodeCount> changed{};
    for (int code : codes) {
        DotDataSet(code);
        changed[code] = true;
    }
    for (int cell = 0; cell < Title::Cells; ++cell) {
        const int code = m_data.DispData(cell, 0, m_data.ChNo);
        if (changed[code])
            showCode(cell, code);
    }
}

void EditForm::showCells(int page, const QList<int> &cells)
{
    if (page != m_data.ChNo) {
        // Undoing on another channel's page: show the page that changed.
        selectChannel(page);
        return;
    }
    for (int cell : cells)
        showCode(cell, m_data.DispData(cell, 0, page));
}

void EditForm::showBlockText(int block)
{
    if (block == (TopCode - 1) / Title::BlockSize)
        m_ui.Text1->setText(m_data.ChText[block]);
}

void EditForm::showTitle(const TitleFileNames &file)
{
    DataFileName = file.data;
    LastFileName = file.last;
    for (int code = 0; code < Title::CodeCount; ++code)
        DotDataSet(code);
    onChannelPicked();
    updateCaption();
}

void EditForm::DotDataSet(int code)
{
    if (code < 0 || code >= Title::CodeCount)
        return;
    m_tiles.draw(code, m_data.DotData[code]);
    refreshTile(code);
}

void EditForm::clearTile(int code)
{
    if (code < 0 || code >= Title::CodeCount)
        return;
    m_tiles.clear(code);
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
    const QImage &last = m_tiles.image(m_data.DispData(Title::Cells - 1, 0, page));
    // The first page needs no work file before the window appears.
    if (m_loading)
        m_workBitmap.writeSoon(last);
    else
        m_workBitmap.write(last);
}

void EditForm::showCode(int cell, int code)
{
    m_ui.DispPic->setImage(cell, m_tiles.image(code));
}
