#pragma once

#include "TitleFileNames.h"
#include "undo/PatternEdit.h"
#include "undo/StepListener.h"

#include "core/ScreenLayout.h"
#include "core/TitleData.h"
#include "core/ZvxReader.h"
#include "core/ZvxWriter.h"
#include "render/AllChannelsMake.h"
#include "render/MakeData.h"

#include <QFont>
#include <QObject>
#include <QString>
#include <QUndoStack>

#include <vector>

// The open title as the editor works on it: the title data (made by the
// application and handed in), the selection (channel, block, cell and the
// character in the enlarged editor), the file it belongs to and whether it
// changed since. Every change of the title is an operation here and one undo
// step; the document then tells its views what to bring up to date through
// its signals, since nothing on screen follows the stores by itself.
//
// The document is the only writer of the selection. A window that lets the
// operator choose asks the document, and every window showing the choice
// follows the signal, its own request included.
class TitleDocument : public QObject, private StepListener
{
    Q_OBJECT

public:
    // The undo steps of a long session are kept up to this many.
    static constexpr int UndoLimit = 100;

    // `workFolder` ends in a separator: where "データ作成" writes its strip.
    TitleDocument(TitleData &data, const QString &workFolder, QObject *parent = nullptr);
    ~TitleDocument() override;

    TitleData &data() { return m_data; }
    const TitleData &data() const { return m_data; }
    // "元に戻す" and "やり直し" go through this stack; it is clean while the
    // title is as last opened or saved.
    QUndoStack &undoStack() { return m_undo; }
    bool isModified() const { return !m_undo.isClean(); }

    // The file "保存" writes to, and whether one was opened or saved yet.
    QString dataFileName() const { return m_file.data; }
    QString lastFileName() const { return m_file.last; }

    // The channel being edited (0..7): its page is the one the grid shows
    // and the edits change.
    int channel() const { return m_data.ChNo; }
    // The current block (0..9), the one the text box shows and "データ作成"
    // fills, and its first code.
    int currentBlock() const { return ScreenLayout::blockOf(m_topCode); }
    int topCode() const { return m_topCode; }
    // Where the next block goes, 0..389.
    int selectedCell() const { return m_selCell; }
    // The character in the enlarged editor, 0..255.
    int openedCharacter() const { return m_data.HensyuNo; }

    // Each selection is announced even when it names what was selected
    // already: choosing again shows the choice afresh (the text box drops
    // what was typed, the enlarged editor reloads).
    // Channel 0..7 becomes current, and its block with it.
    void selectChannel(int channel);
    // The block of `code` (1..250) becomes current.
    void selectBlockOf(int code);
    void selectCell(int cell);
    // Character `code` (0..255) goes into the enlarged editor, dropping
    // whatever edits it held there: a window that asks the operator about
    // them first does so before it calls this.
    void openCharacter(int code);

    // The title the editor starts with (TitleData::setDefaults: every dot
    // transparent, every page blank, every text empty), with nothing to
    // undo. Announces nothing: a view being built draws the whole title.
    void startEmpty();
    // Reads `fileName` into the title as one undo step that also gives
    // back the file name; the title is then as saved, unless the read had
    // to change it (see ZvxReadResult::changedOnOpening): then it counts as
    // modified until saved. On failure nothing changes. The result's notice
    // says what the read had to change.
    ZvxReadResult open(const QString &fileName);
    // Writes the title to `fileName`, which becomes the title's file.
    ZvxWriteResult save(const QString &fileName);

    // Places the block of `code` (1..250) on the current page from the
    // selected cell on, at most to the end of the row, and makes that block
    // current. Returns the number of cells placed.
    int placeBlock(int code);
    // "画面クリア": blanks layer 0 of the current channel's page.
    void clearScreen();
    // "データ作成": renders `text` into the current block, clears the page
    // and places the block, as one step. A refused text changes nothing.
    MakeData::Result makeData(const QString &text, const QFont &font, bool edging);
    // "全チャンネル作成": "データ作成" for every channel whose text in `texts`
    // is not empty, each from the selected cell, as one step. A refused text
    // changes nothing; the result names its channel.
    AllChannelsMake::Result makeAllChannels(const std::array<QString, Title::Channels> &texts, const QFont &font,
                                            bool edging);
    // "縁取" and "反転" of the current block's patterns.
    void edgeBlock();
    void invertBlock();
    // One pattern replaced ("保存" and "貼り付け" of the enlarged editor).
    void replacePattern(int code, const CharPattern &pattern, const QString &what);
    // The characters of `firstCode` on replaced by an imported picture.
    void importPatterns(int firstCode, const std::vector<CharPattern> &patterns, const QString &what);

signals:
    void channelSelected(int channel);
    void blockSelected(int block);
    void cellSelected(int cell);
    void characterOpened(int code);

    // The patterns of `codes` changed: their tiles and whatever shows them.
    void patternsChanged(const QList<int> &codes);
    // Layer 0 of `cells` of `page` changed.
    void cellsChanged(int page, const QList<int> &cells);
    // The stored text of `block` changed.
    void blockTextChanged(int block);
    // Layer 0 of several pages changed at once (all channels made): a view
    // redraws those it shows and stays where it is.
    void pagesChanged(const QList<int> &pages);
    // The whole title was replaced (a file opened, or that undone).
    void titleReplaced();
    void modifiedChanged(bool modified);
    void fileNameChanged(const QString &fileName);

private:
    // Sets the current block; announces it when it changed or `always`.
    void setTopCode(int topCode, bool always);
    void editBlock(void (*edit)(TitleData &, int), const QString &what);
    void setFile(const TitleFileNames &file);

    void patternsPut(const QList<int> &codes) override;
    void cellsPut(int page, const QList<int> &cells) override;
    void blockTextPut(int block) override;
    void pagesPut(const QList<int> &pages) override;
    void titlePut(const TitleFileNames &file) override;

    TitleData &m_data;
    QString m_workFolder;
    QUndoStack m_undo;
    int m_topCode = 1;
    int m_selCell = 0;
    TitleFileNames m_file;
};
