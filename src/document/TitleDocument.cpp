#include "TitleDocument.h"

#include "undo/AllChannelsEdit.h"
#include "undo/BlockTextEdit.h"
#include "undo/PageEdit.h"
#include "undo/TitleReplace.h"

#include "render/BlockEdit.h"

#include <memory>

TitleDocument::TitleDocument(TitleData &data, const QString &workFolder, QObject *parent)
    : QObject(parent), m_data(data), m_workFolder(workFolder)
{
    // A step holds only what it changed (a rendering some 80 KB, an opened
    // file two whole titles); a long session must not grow without end.
    m_undo.setUndoLimit(UndoLimit);
    connect(&m_undo, &QUndoStack::cleanChanged, this, [this](bool clean) { emit modifiedChanged(!clean); });
}

void TitleDocument::startEmpty()
{
    m_undo.clear();
    m_data.setDefaults();
}

TitleDocument::~TitleDocument()
{
    // The stack empties itself as it goes, which would tell the views of a
    // document half destroyed that the title is as saved.
    m_undo.disconnect(this);
}

void TitleDocument::selectChannel(int channel)
{
    if (channel < 0 || channel >= Title::Channels)
        return;
    m_data.ChNo = qint16(channel);
    emit channelSelected(channel);
    setTopCode(ScreenLayout::firstCodeOf(channel), true);
}

void TitleDocument::selectBlockOf(int code)
{
    setTopCode(ScreenLayout::blockTopCode(code), true);
}

void TitleDocument::setTopCode(int topCode, bool always)
{
    const bool changed = topCode != m_topCode;
    m_topCode = topCode;
    if (changed || always)
        emit blockSelected(currentBlock());
}

void TitleDocument::selectCell(int cell)
{
    if (cell < 0 || cell >= Title::Cells)
        return;
    m_selCell = cell;
    emit cellSelected(cell);
}

void TitleDocument::openCharacter(int code)
{
    if (code < 0 || code >= Title::CodeCount)
        return;
    m_data.HensyuNo = qint16(code);
    emit characterOpened(code);
}

ZvxReadResult TitleDocument::open(const QString &fileName)
{
    auto before = std::make_unique<TitleData>();
    before->assignTitleFrom(m_data);
    // Commits only a complete read: a failed one leaves the title as it was.
    ZvxReadResult result = ZvxReader::readFile(fileName, m_data);
    if (!result.ok())
        return result;
    m_undo.push(new TitleReplace(m_data, *this, *before, m_file, {fileName, fileName}, QStringLiteral("開く")));
    // A title that differs from its file is not as saved: no point of the
    // stack matches the file until the next save.
    if (result.changedOnOpening())
        m_undo.resetClean();
    else
        m_undo.setClean();
    return result;
}

ZvxWriteResult TitleDocument::save(const QString &fileName)
{
    ZvxWriteResult result = ZvxWriter::writeFile(fileName, m_data);
    if (!result.ok)
        return result;
    setFile({fileName, fileName});
    m_undo.setClean();
    return result;
}

int TitleDocument::placeBlock(int code)
{
    // The press on the tile that begins a double-click has shown this block
    // already; only a block placed otherwise is news to the views.
    setTopCode(ScreenLayout::blockTopCode(code), false);
    const int page = m_data.ChNo;
    const PageEdit::Layer before = PageEdit::snapshot(m_data, page);
    const int placed = ScreenLayout::placeBlock(m_data, page, m_selCell, m_topCode);
    m_undo.push(new PageEdit(m_data, *this, page, before, QStringLiteral("ブロック配置")));
    return placed;
}

void TitleDocument::clearScreen()
{
    const int page = m_data.ChNo;
    const PageEdit::Layer before = PageEdit::snapshot(m_data, page);
    ScreenLayout::clearPage(m_data, page);
    m_undo.push(new PageEdit(m_data, *this, page, before, QStringLiteral("画面クリア")));
}

MakeData::Result TitleDocument::makeData(const QString &text, const QFont &font, bool edging)
{
    MakeData::Request request;
    request.text = text;
    request.font = font;
    request.edging = edging;
    request.topCode = m_topCode;
    request.page = m_data.ChNo;
    request.selCell = m_selCell;
    request.workFolder = m_workFolder;
    const int block = currentBlock();
    const PatternEdit::Patterns patternsBefore = PatternEdit::snapshot(m_data, m_topCode, Title::BlockSize);
    const QString textBefore = m_data.ChText[block];
    const PageEdit::Layer pageBefore = PageEdit::snapshot(m_data, request.page);
    const MakeData::Result result = MakeData::run(m_data, request);
    if (!result.done())
        return result;
    // One step for the patterns, the text and the page: the operator made
    // one change. Patterns come first so the cells show the new characters.
    auto *step = new QUndoCommand(QStringLiteral("データ作成"));
    new PatternEdit(m_data, *this, patternsBefore, QString(), step);
    new BlockTextEdit(m_data, *this, block, textBefore, QString(), step);
    new PageEdit(m_data, *this, request.page, pageBefore, QString(), step);
    m_undo.push(step);
    return result;
}

AllChannelsMake::Result TitleDocument::makeAllChannels(const std::array<QString, Title::Channels> &texts,
                                                       const QFont &font, bool edging)
{
    AllChannelsMake::Request request;
    request.texts = texts;
    request.font = font;
    request.edging = edging;
    // The selected cell is shared by the channels, as for "データ作成" on
    // any one of them.
    request.cells.fill(m_selCell);
    request.workFolder = m_workFolder;
    const AllChannelsEdit::Before before = AllChannelsEdit::snapshot(m_data);
    const AllChannelsMake::Result result = AllChannelsMake::run(m_data, request);
    if (result.done())
        m_undo.push(new AllChannelsEdit(m_data, *this, before, QStringLiteral("全チャンネル作成")));
    return result;
}

void TitleDocument::edgeBlock()
{
    editBlock(BlockEdit::edge, QStringLiteral("縁取"));
}

void TitleDocument::invertBlock()
{
    editBlock(BlockEdit::invert, QStringLiteral("反転"));
}

void TitleDocument::editBlock(void (*edit)(TitleData &, int), const QString &what)
{
    const PatternEdit::Patterns before = PatternEdit::snapshot(m_data, m_topCode, Title::BlockSize);
    edit(m_data, m_topCode);
    m_undo.push(new PatternEdit(m_data, *this, before, what));
}

void TitleDocument::replacePattern(int code, const CharPattern &pattern, const QString &what)
{
    m_undo.push(PatternEdit::replace(m_data, *this, {{code, pattern}}, what));
}

void TitleDocument::importPatterns(int firstCode, const std::vector<CharPattern> &patterns, const QString &what)
{
    PatternEdit::Patterns imported;
    for (std::size_t i = 0; i < patterns.size(); ++i)
        imported.insert(firstCode + int(i), patterns[i]);
    m_undo.push(PatternEdit::replace(m_data, *this, imported, what));
}

void TitleDocument::setFile(const TitleFileNames &file)
{
    const bool renamed = file.data != m_file.data;
    m_file = file;
    if (renamed)
        emit fileNameChanged(m_file.data);
}

void TitleDocument::patternsPut(const QList<int> &codes)
{
    emit patternsChanged(codes);
}

void TitleDocument::cellsPut(int page, const QList<int> &cells)
{
    emit cellsChanged(page, cells);
}

void TitleDocument::blockTextPut(int block)
{
    emit blockTextChanged(block);
}

void TitleDocument::pagesPut(const QList<int> &pages)
{
    emit pagesChanged(pages);
}

void TitleDocument::titlePut(const TitleFileNames &file)
{
    setFile(file);
    emit titleReplaced();
}
