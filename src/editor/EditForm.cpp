#include "EditForm.h"

#include "MarkerShape.h"
#include "PaletteView.h"
#include "ScreenGrid.h"

#include "charedit/HensyuForm.h"
#include "core/ScreenLayout.h"
#include "core/ZvxReader.h"
#include "core/ZvxWriter.h"
#include "render/BlockEdit.h"
#include "render/MakeData.h"
#include "link/ui/LinkWindows.h"
#include "platform/FileDialogs.h"
#include "platform/FontDialogs.h"
#include "platform/MessageBoxes.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString DataFileFilter = QStringLiteral("zvx ﾌｧｲﾙ(*.zvx)|*.zvx|");
const QString DataFileExtension = QStringLiteral(".zvx");
const QString FileErrorTitle = QStringLiteral("ファイルエラー");

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
} // namespace

EditForm::EditForm(TitleData &data, MessageBoxes &messageBoxes, FileDialogs &fileDialogs, FontDialogs &fontDialogs,
                   const QString &workFolder, QWidget *parent)
    : QMainWindow(parent)
    , m_data(data)
    , m_messageBoxes(messageBoxes)
    , m_fileDialogs(fileDialogs)
    , m_fontDialogs(fontDialogs)
    , m_workFolder(workFolder)
    , m_workBitmap(workFolder)
{
    m_ui.setupUi(this);
    m_loading = true;
    Form_Load();
    m_loading = false;
    // Connected only now so that filling the selector during the load does
    // not count as the operator typing into it.
    connectControls();
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
    connect(m_ui.DispEdit1, &QPushButton::clicked, this, &EditForm::clearScreen);
    connect(m_ui.makeDataButton, &QPushButton::clicked, this, &EditForm::makeData);
    connect(m_ui.fontButton, &QPushButton::clicked, this, &EditForm::chooseFont);
    connect(m_ui.enlargeButton, &QPushButton::clicked, this, &EditForm::openEnlargedEditor);
    for (int i = 0; i < 2; ++i)
        connect(m_ui.LineEdit[i], &QPushButton::clicked, this, i == 0 ? &EditForm::edgeBlock : &EditForm::invertBlock);
    connect(m_ui.DispPic, &ScreenGrid::pressed, this, &EditForm::selectCell);
    connect(m_ui.PSetPic, &PaletteView::pressed, this, &EditForm::pickCharacter);
    connect(m_ui.PSetPic, &PaletteView::doubleClicked, this, &EditForm::placePaletteBlock);
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
    Form_Unload();
    event->accept();
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
    QString error;
    const QString name = m_fileDialogs.openFileName(this, QStringLiteral("データファイルを開く"), DataFileFilter,
                                                    m_workFolder, DataFileExtension);
    if (name.isEmpty())
        return;
    if (!MCMFileSet(0, name, &error)) {
        fileError(error);
        return;
    }
    DataFileName = name;
    DispDataSet(m_data.ChNo);
    onChannelPicked();
    LastFileName = DataFileName;
}

void EditForm::saveFile()
{
    if (LastFileName.isEmpty()) {
        saveFileAs();
        return;
    }
    saveTo(DataFileName);
}

void EditForm::saveFileAs()
{
    QString name = m_fileDialogs.saveFileName(this, QStringLiteral("データファイルの保存"), DataFileFilter,
                                              m_workFolder, DataFileExtension);
    if (name.isEmpty())
        return;
    // Case-sensitive on purpose: "TITLE.ZVX" becomes "TITLE.ZVX.zvx".
    if (!name.endsWith(DataFileExtension, Qt::CaseSensitive))
        name += DataFileExtension;
    saveTo(name);
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
    return true;
}

void EditForm::fileError(const QString &message)
{
    m_messageBoxes.warning(this, FileErrorTitle, message);
}

bool EditForm::MCMFileSet(int mode, const QString &fileName, QString *error)
{
    if (mode == 0) {
        const ZvxReadResult result = ZvxReader::readFile(fileName, m_data);
        if (!result.ok()) {
            if (error)
                *error = result.message();
            return false;
        }
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
    ScreenLayout::clearPage(m_data, m_data.ChNo);
    DispDataSet(m_data.ChNo);
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
    const int placed = ScreenLayout::placeBlock(m_data, m_data.ChNo, SelCell, TopCode);
    for (int i = 0; i < placed; ++i)
        showCode(SelCell + i, TopCode + i);
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
        m_hensyuForm = new HensyuForm(m_data, [this](int code) { DotDataSet(code); }, this);
    return *m_hensyuForm;
}

void EditForm::makeData()
{
    MakeData::Request request;
    request.text = m_ui.Text1->text();
    request.font = m_ui.Text1->font();
    request.edging = m_ui.edgingCheck->isChecked();
    request.topCode = TopCode;
    request.workFolder = m_workFolder;
    // The strip is read from the drawing in memory, so Picture2 never needs
    // to be shown for the read-back.
    const MakeData::Result result = MakeData::renderBlock(m_data, request);
    if (!result.done()) {
        m_messageBoxes.warning(this, BlockTextGuard::title(), BlockTextGuard::message(result.refused));
        return;
    }
    // Sampling starts each tile from its plain background.
    for (int k = 0; k < Title::BlockSize; ++k)
        m_tiles.clear(TopCode + k);
    redrawBlockTiles();
    clearScreen();
    placeBlock(TopCode);
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
    editBlock(BlockEdit::edge);
}

void EditForm::invertBlock()
{
    editBlock(BlockEdit::invert);
}

void EditForm::editBlock(void (*edit)(TitleData &, int))
{
    edit(m_data, TopCode);
    // Only the tiles: cells showing the block keep their old images until
    // the page is drawn again.
    redrawBlockTiles();
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
