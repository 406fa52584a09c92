#include "document/TitleDocument.h"

#include "StoredTitle.h"

#include "core/ZvxTestData.h"
#include "core/ZvxWriter.h"
#include "render/RenderFont.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <type_traits>
#include <utility>

namespace {

using Stores = StoredTitle;
using Cells = std::set<std::pair<int, int>>; // (page, cell)

// What the views must bring up to date between two states of the title.
struct Changes
{
    std::set<int> codes;
    Cells cells;
    std::set<int> blocks;
    int titles = 0;

    bool operator==(const Changes &) const = default;

    static Changes wholeTitle()
    {
        Changes changes;
        changes.titles = 1;
        return changes;
    }

    static Changes between(const Stores &a, const Stores &b)
    {
        Changes changes;
        for (int code = 0; code < Title::CodeCount; ++code)
            if (a.dots[code] != b.dots[code])
                changes.codes.insert(code);
        for (int page = 0; page < Title::Pages; ++page)
            for (int cell = 0; cell < Title::Cells; ++cell)
                if (a.pages(cell, 0, page) != b.pages(cell, 0, page))
                    changes.cells.insert({page, cell});
        for (int block = 0; block < Title::Blocks; ++block)
            if (a.texts[block] != b.texts[block])
                changes.blocks.insert(block);
        return changes;
    }
};

void PrintTo(const Changes &c, std::ostream *os)
{
    *os << c.codes.size() << " codes, " << c.cells.size() << " cells, " << c.blocks.size() << " texts, "
        << c.titles << " titles";
}

// Everything a document tells its views, gathered until taken.
class Listener
{
public:
    explicit Listener(TitleDocument &document)
    {
        // Each connection ends with m_context, so with the listener.
        QObject::connect(&document, &TitleDocument::patternsChanged, &m_context, [this](const QList<int> &codes) {
            for (int code : codes)
                EXPECT_TRUE(m_told.codes.insert(code).second) << "code " << code << " told twice";
        });
        QObject::connect(&document, &TitleDocument::cellsChanged, &m_context,
                         [this](int page, const QList<int> &cells) {
                             for (int cell : cells)
                                 EXPECT_TRUE(m_told.cells.insert({page, cell}).second)
                                     << "cell " << cell << " told twice";
                         });
        QObject::connect(&document, &TitleDocument::blockTextChanged, &m_context,
                         [this](int block) { m_told.blocks.insert(block); });
        QObject::connect(&document, &TitleDocument::titleReplaced, &m_context, [this] { ++m_told.titles; });
        QObject::connect(&document, &TitleDocument::pagesChanged, &m_context, [this](const QList<int> &pages) {
            for (int page : pages)
                EXPECT_TRUE(m_pages.insert(page).second) << "page " << page << " told twice";
        });
        QObject::connect(&document, &TitleDocument::modifiedChanged, &m_context,
                         [this](bool modified) { m_modified.append(modified); });
        QObject::connect(&document, &TitleDocument::fileNameChanged, &m_context,
                         [this](const QString &name) { m_fileNames.append(name); });
    }

    Changes takeChanges() { return std::exchange(m_told, {}); }
    std::set<int> takePages() { return std::exchange(m_pages, {}); }
    QList<bool> takeModified() { return std::exchange(m_modified, {}); }
    QStringList takeFileNames() { return std::exchange(m_fileNames, {}); }
    void clear()
    {
        takeChanges();
        takeModified();
        takeFileNames();
        takePages();
    }
    bool silent() const
    {
        return m_told == Changes{} && m_pages.empty() && m_modified.isEmpty() && m_fileNames.isEmpty();
    }

private:
    QObject m_context;
    Changes m_told;
    std::set<int> m_pages;
    QList<bool> m_modified;
    QStringList m_fileNames;
};

class TitleDocumentTest : public ::testing::Test
{
protected:
    TitleDocumentTest() { data->setDefaults(); }

    // A rendered block 0 on page 0 to work on, with nothing to undo yet.
    void renderBlockZero(bool edging)
    {
        document.makeData(QStringLiteral("Ab"), RenderFont::defaultFont(), edging);
        document.undoStack().clear();
        listener.clear();
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    // A title file unlike the defaults in every store.
    QString writeOtherTitle()
    {
        const QString file = path(QStringLiteral("other.zvx"));
        EXPECT_TRUE(ZvxWriter::writeFile(file, *makeVariedTitle()).ok);
        return file;
    }

    QTemporaryDir dir;
    std::unique_ptr<TitleData> data = std::make_unique<TitleData>();
    TitleDocument document{*data, dir.path() + QLatin1Char('/')};
    Listener listener{document};
};

class EachOperation;

struct Operation
{
    const char *name;
    std::function<void(EachOperation &, TitleDocument &)> prepare;
    std::function<void(EachOperation &, TitleDocument &)> run;
    const char16_t *step; // the step's name
    bool opensFile = false;
};

// Names the case in the test's name.
void PrintTo(const Operation &operation, std::ostream *os)
{
    *os << operation.name;
}

class EachOperation : public TitleDocumentTest, public ::testing::WithParamInterface<Operation>
{
public:
    using TitleDocumentTest::renderBlockZero;
    using TitleDocumentTest::writeOtherTitle;
};

CharPattern allWhite()
{
    CharPattern pattern;
    pattern.fill(PixelCode::white());
    return pattern;
}

const Operation Operations[] = {
    {"PlaceBlock", [](auto &, auto &d) { d.selectCell(40); }, [](auto &, auto &d) { d.placeBlock(30); },
     u"ブロック配置"},
    {"ClearScreen",
     [](auto &, auto &d) {
         d.selectChannel(2);
         d.placeBlock(51);
         d.undoStack().clear();
     },
     [](auto &, auto &d) { d.clearScreen(); }, u"画面クリア"},
    {"MakeData", [](auto &, auto &d) { d.selectCell(32); },
     [](auto &, auto &d) { d.makeData(QStringLiteral("Title"), RenderFont::defaultFont(), true); }, u"データ作成"},
    {"EdgeBlock", [](auto &t, auto &) { t.renderBlockZero(false); }, [](auto &, auto &d) { d.edgeBlock(); },
     u"縁取"},
    {"InvertBlock", [](auto &t, auto &) { t.renderBlockZero(true); }, [](auto &, auto &d) { d.invertBlock(); },
     u"反転"},
    {"EnlargedEditorSave", nullptr, [](auto &, auto &d) { d.replacePattern(7, allWhite(), QStringLiteral("保存")); },
     u"保存"},
    {"ImportBlock", nullptr,
     [](auto &, auto &d) {
         d.importPatterns(26, std::vector<CharPattern>(Title::BlockSize, allWhite()), QStringLiteral("読み込み"));
     },
     u"読み込み"},
    {"OpenFile", nullptr, [](auto &t, auto &d) { ASSERT_TRUE(d.open(t.writeOtherTitle()).ok()); }, u"開く", true},
};

} // namespace

// Each operation is one step that tells the views exactly what it changed,
// when done, undone and redone.
TEST_P(EachOperation, IsOneStepThatTellsWhatItChangedOnDoUndoAndRedo)
{
    const Operation &op = GetParam();
    if (op.prepare)
        op.prepare(*this, document);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_FALSE(document.isModified());
    listener.clear();
    const Stores before(*data);

    op.run(*this, document);
    ASSERT_FALSE(HasFatalFailure());
    const Stores after(*data);
    ASSERT_NE(after, before) << "the operation changed nothing";
    ASSERT_EQ(document.undoStack().count(), 1);
    EXPECT_EQ(document.undoStack().text(0), QString::fromUtf16(op.step));
    // An opened title is as saved; any other change is unsaved work.
    const Changes done = op.opensFile ? Changes::wholeTitle() : Changes::between(before, after);
    EXPECT_EQ(listener.takeChanges(), done);
    EXPECT_EQ(document.isModified(), !op.opensFile);

    document.undoStack().undo();
    EXPECT_EQ(Stores(*data), before);
    EXPECT_EQ(listener.takeChanges(), op.opensFile ? done : Changes::between(after, before));
    EXPECT_EQ(document.isModified(), op.opensFile);

    document.undoStack().redo();
    EXPECT_EQ(Stores(*data), after);
    EXPECT_EQ(listener.takeChanges(), done);
    EXPECT_EQ(document.isModified(), !op.opensFile);
}

INSTANTIATE_TEST_SUITE_P(, EachOperation, ::testing::ValuesIn(Operations),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(TitleDocumentTest, EditsThatChangeNothingLeaveNoStepAndTellNothing)
{
    document.clearScreen(); // the page is blank already
    document.edgeBlock();   // nothing white to edge
    document.invertBlock(); // nothing black or white
    document.replacePattern(9, data->DotData[9], QStringLiteral("保存"));
    document.selectCell(0);
    document.placeBlock(1);
    document.undoStack().clear();
    listener.clear();
    document.placeBlock(1); // the same block at the same place
    EXPECT_EQ(document.undoStack().count(), 0);
    EXPECT_FALSE(document.isModified());
    EXPECT_TRUE(listener.silent());
}

TEST_F(TitleDocumentTest, ARefusedTextChangesNothing)
{
    const Stores before(*data);
    const MakeData::Result result = document.makeData(QStringLiteral("A,\"B\""), RenderFont::defaultFont(), true);
    EXPECT_FALSE(result.done());
    EXPECT_EQ(Stores(*data), before);
    EXPECT_EQ(document.undoStack().count(), 0);
    EXPECT_TRUE(listener.silent());
}

namespace {

std::array<QString, Title::Channels> cameraNames()
{
    return {QStringLiteral("正面玄関"), QString(), QStringLiteral("Loading bay, east"), QString(),
            QString(),                 QString(), QString(),                           QStringLiteral("屋上 CAM8")};
}

// The pages whose layer 0 differs between two states.
std::set<int> pagesBetween(const Stores &a, const Stores &b)
{
    std::set<int> pages;
    for (int page = 0; page < Title::Pages; ++page)
        for (int cell = 0; cell < Title::Cells; ++cell)
            if (a.pages(cell, 0, page) != b.pages(cell, 0, page))
                pages.insert(page);
    return pages;
}

} // namespace

// All channels at once is what "データ作成" channel by channel makes, as
// one step told to the views once per kind of change.
TEST_F(TitleDocumentTest, MakeAllChannelsIsOneStepMakingWhatEachChannelsMakeDataMakes)
{
    document.selectChannel(2);
    document.selectCell(31);
    document.placeBlock(76); // something on page 3 that the make must clear
    document.selectChannel(0);
    document.undoStack().clear();
    listener.clear();
    const Stores before(*data);

    const AllChannelsMake::Result result =
        document.makeAllChannels(cameraNames(), RenderFont::defaultFont(), true);
    ASSERT_TRUE(result.done());
    const Stores after(*data);

    // The same title, made channel by channel through "データ作成".
    auto expectedData = std::make_unique<TitleData>();
    expectedData->setDefaults();
    expectedData->DotData = before.dots;
    expectedData->DispData = before.pages;
    expectedData->ChText = before.texts;
    TitleDocument oneByOne(*expectedData, dir.path() + QLatin1Char('/'));
    oneByOne.selectCell(31);
    for (int ch = 0; ch < Title::Channels; ++ch) {
        if (cameraNames()[size_t(ch)].isEmpty())
            continue;
        oneByOne.selectChannel(ch);
        ASSERT_TRUE(oneByOne.makeData(cameraNames()[size_t(ch)], RenderFont::defaultFont(), true).done());
    }
    EXPECT_EQ(after, Stores(*expectedData));

    ASSERT_EQ(document.undoStack().count(), 1);
    EXPECT_EQ(document.undoStack().text(0), QStringLiteral("全チャンネル作成"));
    EXPECT_EQ(data->ChNo, 0) << "the current channel stays";
    const auto expectTold = [this](const Stores &from, const Stores &to) {
        Changes told = listener.takeChanges();
        Changes expected = Changes::between(from, to);
        expected.cells.clear(); // pages come whole, not cell by cell
        EXPECT_EQ(told, expected);
        EXPECT_EQ(listener.takePages(), pagesBetween(from, to));
    };
    expectTold(before, after);

    document.undoStack().undo();
    EXPECT_EQ(Stores(*data), before);
    expectTold(after, before);
    EXPECT_FALSE(document.isModified());

    document.undoStack().redo();
    EXPECT_EQ(Stores(*data), after);
    expectTold(before, after);
}

TEST_F(TitleDocumentTest, MakeAllChannelsWithARefusedTextChangesNothing)
{
    std::array<QString, Title::Channels> texts = cameraNames();
    texts[5] = QStringLiteral("A,\"B\"");
    const Stores before(*data);
    const AllChannelsMake::Result result = document.makeAllChannels(texts, RenderFont::defaultFont(), true);
    EXPECT_EQ(result.refusedChannel, 5);
    EXPECT_NE(result.refused, BlockTextGuard::Problem::None);
    EXPECT_EQ(Stores(*data), before);
    EXPECT_EQ(document.undoStack().count(), 0);
    EXPECT_TRUE(listener.silent());
}

TEST_F(TitleDocumentTest, MakeDataFillsTheCurrentBlockAndPlacesItFromTheSelectedCell)
{
    document.selectChannel(2);
    document.selectCell(35);
    const MakeData::Result result = document.makeData(QStringLiteral("ABC"), RenderFont::defaultFont(), true);
    ASSERT_TRUE(result.done());
    EXPECT_EQ(result.cellsPlaced, 25);
    EXPECT_EQ(data->ChText[2], QStringLiteral("ABC"));
    EXPECT_EQ(data->DispData(35, 0, 2), 51);
    EXPECT_EQ(data->DispData(59, 0, 2), 75);
    EXPECT_TRUE(QFile::exists(path(MakeData::BitmapName)));
    EXPECT_EQ(listener.takeChanges().blocks, std::set<int>{2});
}

TEST_F(TitleDocumentTest, TheCurrentBlockFollowsTheChannelAndThePressedCode)
{
    struct Case
    {
        int code;
        int block;
        int topCode;
    };
    // Codes count from 1 within a block: 25 is the last of block 0.
    for (const Case c : {Case{1, 0, 1}, Case{25, 0, 1}, Case{26, 1, 26}, Case{107, 4, 101}, Case{250, 9, 226}}) {
        document.selectBlockOf(c.code);
        EXPECT_EQ(document.currentBlock(), c.block) << c.code;
        EXPECT_EQ(document.topCode(), c.topCode) << c.code;
    }
    document.selectChannel(7);
    EXPECT_EQ(data->ChNo, 7);
    EXPECT_EQ(document.topCode(), 176);
    document.selectChannel(8); // no such channel
    EXPECT_EQ(data->ChNo, 7);

    document.selectCell(389);
    document.selectCell(390);
    document.selectCell(-1);
    EXPECT_EQ(document.selectedCell(), 389);
}

TEST_F(TitleDocumentTest, EverySelectionIsAnnouncedAndOnlyTheDocumentMakesIt)
{
    static_assert(!std::is_assignable_v<decltype((data->ChNo)), qint16>);
    static_assert(!std::is_assignable_v<decltype((data->HensyuNo)), qint16>);
    QStringList told;
    QObject context;
    const auto tell = [&](const char *what) {
        return [&told, what](int n) { told << QStringLiteral("%1 %2").arg(QLatin1String(what)).arg(n); };
    };
    QObject::connect(&document, &TitleDocument::channelSelected, &context, tell("channel"));
    QObject::connect(&document, &TitleDocument::blockSelected, &context, tell("block"));
    QObject::connect(&document, &TitleDocument::cellSelected, &context, tell("cell"));
    QObject::connect(&document, &TitleDocument::characterOpened, &context, tell("character"));

    document.selectChannel(2);
    document.selectChannel(2); // chosen again, shown again
    document.selectCell(40);
    document.openCharacter(65);
    document.selectBlockOf(60);
    EXPECT_FALSE(document.isModified()) << "selecting is no edit";
    document.placeBlock(30);   // news only where the block changes
    document.placeBlock(26);
    document.selectChannel(8); // none of these exist
    document.selectCell(390);
    document.openCharacter(256);
    EXPECT_EQ(told, QStringList({"channel 2", "block 2", "channel 2", "block 2", "cell 40", "character 65",
                                 "block 2", "block 1"}));
    EXPECT_EQ(data->ChNo, 2);
    EXPECT_EQ(data->HensyuNo, 65);
    EXPECT_EQ(document.openedCharacter(), 65);
}

TEST_F(TitleDocumentTest, SavingNamesTheFileAndMarksTheTitleSaved)
{
    document.placeBlock(1);
    listener.clear();
    const QString file = path(QStringLiteral("t.zvx"));
    ASSERT_TRUE(document.save(file).ok);
    EXPECT_EQ(document.dataFileName(), file);
    EXPECT_EQ(document.lastFileName(), file);
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(listener.takeFileNames(), QStringList{file});
    EXPECT_EQ(listener.takeModified(), QList<bool>{false});

    // A failed save keeps the file the title belongs to, and its changes.
    document.clearScreen();
    EXPECT_FALSE(document.save(path(QStringLiteral("no/such/folder.zvx"))).ok);
    EXPECT_EQ(document.dataFileName(), file);
    EXPECT_TRUE(document.isModified());
    EXPECT_TRUE(listener.takeFileNames().isEmpty());
}

TEST_F(TitleDocumentTest, OpeningIsUndoneWithTheFileName)
{
    const QString file = writeOtherTitle();
    ASSERT_TRUE(document.open(file).ok());
    EXPECT_EQ(document.dataFileName(), file);
    EXPECT_EQ(document.lastFileName(), file);
    EXPECT_EQ(listener.takeFileNames(), QStringList{file});

    // Saving after the undo must not write this title's predecessor into it.
    document.undoStack().undo();
    EXPECT_TRUE(document.dataFileName().isEmpty());
    EXPECT_TRUE(document.lastFileName().isEmpty());
    EXPECT_EQ(listener.takeFileNames(), QStringList{QString()});
    document.undoStack().redo();
    EXPECT_EQ(document.dataFileName(), file);
}

TEST_F(TitleDocumentTest, ATitleChangedOnOpeningCountsAsModifiedUntilSaved)
{
    QByteArray saved = ZvxWriter::serialize(*makeVariedTitle());
    QByteArray normalised = saved;
    normalised.replace(normalised.indexOf("\r\n") + 2, 0, "\"two\r\nlines\"");
    struct Case
    {
        const char *name;
        QByteArray bytes;
        bool modified;
    };
    const Case cases[] = {
        {"as saved", saved, false},
        {"a line break in a block text", normalised, true},
        {"not a title at all", "garbage\r\n", true},
        {"empty", "", true},
        {"ends early", saved.left(saved.size() / 2), true},
    };
    for (const Case &c : cases) {
        const QString file = path(QStringLiteral("case.zvx"));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(c.bytes);
        out.close();
        listener.clear();

        const ZvxReadResult result = document.open(file);
        ASSERT_TRUE(result.ok()) << c.name;
        EXPECT_EQ(result.changedOnOpening(), c.modified) << c.name;
        EXPECT_EQ(document.isModified(), c.modified) << c.name;
        if (c.modified) {
            // Saving writes what the document holds, and then it is as saved.
            ASSERT_TRUE(document.save(path(QStringLiteral("saved.zvx"))).ok) << c.name;
            EXPECT_FALSE(document.isModified()) << c.name;
        }
    }
}

TEST_F(TitleDocumentTest, AFileThatCannotBeReadChangesNothing)
{
    document.placeBlock(1);
    listener.clear();
    const Stores before(*data);
    const ZvxReadResult result = document.open(path(QStringLiteral("missing.zvx")));
    EXPECT_EQ(result.error, ZvxReadResult::Error::CannotOpen);
    EXPECT_EQ(Stores(*data), before);
    EXPECT_EQ(document.undoStack().count(), 1);
    EXPECT_TRUE(document.isModified());
    EXPECT_TRUE(document.dataFileName().isEmpty());
    EXPECT_TRUE(listener.silent());
}

TEST_F(TitleDocumentTest, AnImportIsOneStepThatGivesBackThePatternsItReplaced)
{
    data->DotData[30][0] = PixelCode::black();
    const Stores before(*data);
    document.importPatterns(26, std::vector<CharPattern>(Title::BlockSize, allWhite()), QStringLiteral("読み込み"));
    EXPECT_EQ(data->DotData[30], allWhite());
    Changes block1;
    for (int code = 26; code <= 50; ++code)
        block1.codes.insert(code);
    EXPECT_EQ(listener.takeChanges(), block1);

    document.undoStack().undo();
    EXPECT_EQ(Stores(*data), before);
    EXPECT_EQ(listener.takeChanges(), block1);
}
