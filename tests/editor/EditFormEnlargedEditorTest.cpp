#include "EditFormFixture.h"

#include "charedit/CopyBuffer.h"
#include "charedit/HensyuForm.h"

#include "core/ZvxWriter.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>

#include <functional>
#include <ostream>
#include <string>

namespace {

class EditFormEnlargedEditor : public EditFormFixture
{
protected:
    void SetUp() override
    {
        CopyBuffer::shared().clear();
        EditFormFixture::SetUp();
    }

    HensyuForm *editor() const { return form->enlargedEditor(); }

    // Runs the deletion a closed window asked for.
    static void processDeletions() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

} // namespace

TEST_F(EditFormEnlargedEditor, StartUpCreatesItHiddenWithCharacterOne)
{
    ASSERT_NE(editor(), nullptr);
    EXPECT_FALSE(editor()->isVisible());
    EXPECT_EQ(editor()->windowTitle(), QStringLiteral("文字1編集中"));
    EXPECT_EQ(data->HensyuNo, 1);
    EXPECT_EQ(editor()->parentWidget(), form.get());
    EXPECT_TRUE(editor()->isWindow());

    // A tile press loads the character into the same, still hidden window.
    HensyuForm *const first = editor();
    data->DotData[107][13] = PixelCode::white();
    form->pickCharacter(107);
    EXPECT_EQ(editor(), first);
    EXPECT_FALSE(editor()->isVisible());
    EXPECT_EQ(editor()->windowTitle(), QStringLiteral("文字107編集中"));
    EXPECT_EQ(editor()->grid().colour(13), KakudaiGrid::White);
}

TEST_F(EditFormEnlargedEditor, ShowsModelessAndComesBackLoadedAfterBeingClosed)
{
    form->show();
    form->pickCharacter(30);
    form->openEnlargedEditor();
    ASSERT_NE(editor(), nullptr);
    EXPECT_TRUE(editor()->isVisible());
    EXPECT_FALSE(editor()->isModal());
    EXPECT_EQ(editor()->windowTitle(), QStringLiteral("文字30編集中"));

    editor()->close();
    processDeletions();
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(data->HensyuNo, 30);

    data->DotData[30][0] = PixelCode::black();
    form->openEnlargedEditor();
    ASSERT_NE(editor(), nullptr);
    EXPECT_TRUE(editor()->isVisible());
    EXPECT_EQ(editor()->windowTitle(), QStringLiteral("文字30編集中"));
    EXPECT_EQ(editor()->grid().colour(0), KakudaiGrid::Black);

    // A tile press after closing creates it again, hidden.
    editor()->close();
    processDeletions();
    form->pickCharacter(40);
    ASSERT_NE(editor(), nullptr);
    EXPECT_FALSE(editor()->isVisible());
    EXPECT_EQ(editor()->windowTitle(), QStringLiteral("文字40編集中"));
}

TEST_F(EditFormEnlargedEditor, SaveAndPasteRedrawTheTileAndTheCellsShowingIt)
{
    form->placeBlock(1);
    const QImage cellBefore = cellImage(0);

    editor()->applyCommand(HensyuForm::AllWhite);
    editor()->saveCharacter();
    EXPECT_EQ(data->DotData[1][0], PixelCode::white());
    EXPECT_EQ(form->tileImage(1).pixel(11, 17), 0xFFFFFFFFu);
    EXPECT_EQ(tileShown(1).pixel(0, 0), 0xFFFFFFFFu);
    // Not left stale until the next page redraw.
    EXPECT_NE(cellImage(0), cellBefore);
    EXPECT_TRUE(cellShows(0, 1));

    editor()->copyCharacter();
    form->pickCharacter(2);
    editor()->pasteCharacter();
    EXPECT_EQ(data->DotData[2], data->DotData[1]);
    EXPECT_EQ(form->tileImage(2), form->tileImage(1) /* same pattern, same background */);
    EXPECT_EQ(editor()->windowTitle(), QStringLiteral("文字2編集中"));
    EXPECT_TRUE(cellShows(1, 2));
}

TEST_F(EditFormEnlargedEditor, TabThenSpaceOpensItFromTheCoveredButton)
{
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    ASSERT_EQ(QApplication::focusWidget(), ui().Text1);

    // Combo box, font, make data, edging, the screen grid, screen clear,
    // the two covered block buttons, then "拡大編集".
    for (int i = 0; i < 9; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), ui().enlargeButton);
    EXPECT_EQ(ui().enlargeButton->text(), QStringLiteral("拡大編集"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    ASSERT_NE(editor(), nullptr);
    EXPECT_TRUE(editor()->isVisible());
    EXPECT_EQ(editor()->windowTitle(), QStringLiteral("文字1編集中"));
}

TEST_F(EditFormEnlargedEditor, OpensOnTheCharacterAsItIsNowNotAsItWasHandedOver)
{
    form->show();
    ui().Text1->setText(QStringLiteral("ABC"));
    form->makeData();
    form->openEnlargedEditor();
    KakudaiGrid expected;
    expected.load(data->DotData[1]);
    EXPECT_EQ(editor()->grid(), expected);

    // An open editor keeps what the operator sees, unsaved edits and all.
    editor()->applyCommand(HensyuForm::AllBlack);
    ui().Text1->setText(QStringLiteral("X"));
    form->makeData();
    form->openEnlargedEditor();
    EXPECT_EQ(editor()->grid().colour(0), KakudaiGrid::Black);
    EXPECT_EQ(editor()->grid().colour(215), KakudaiGrid::Black);
}

namespace {

// The grid the enlarged editor would show for the character as stored now.
KakudaiGrid storedGrid(const TitleData &data, int code)
{
    KakudaiGrid grid;
    grid.load(data.DotData[code]);
    return grid;
}

class EditFormEnlargedEditorFollows;

struct ChangeUnderneath
{
    const char *name;
    std::function<void(EditFormEnlargedEditorFollows &)> change;
};

void PrintTo(const ChangeUnderneath &change, std::ostream *os)
{
    *os << change.name;
}

class EditFormEnlargedEditorFollows : public EditFormEnlargedEditor,
                                      public ::testing::WithParamInterface<ChangeUnderneath>
{
public:
    TitleDocument &document() { return form->document(); }
    TitleData &title() { return *data; }
    HensyuForm &enlarged() { return *editor(); }
    QString file(const QString &name) const { return path(name); }
};

// Character 52 is the second of block 2, on screen from the start.
constexpr int Shown = 52;

CharPattern whiteTop()
{
    CharPattern pattern;
    pattern.fill(PixelCode::transparent());
    for (int n = 0; n < 12; ++n)
        pattern[n] = PixelCode::white();
    return pattern;
}

const ChangeUnderneath Changes[] = {
    {"PaletteInvert", [](auto &t) { t.document().invertBlock(); }},
    {"PaletteEdging", [](auto &t) { t.document().edgeBlock(); }},
    {"PictureImport",
     [](auto &t) { t.document().importPatterns(Shown - 1, {whiteTop(), whiteTop()}, QStringLiteral("import")); }},
    {"UndoOfItsOwnSave",
     [](auto &t) {
         t.enlarged().applyCommand(HensyuForm::AllBlack);
         t.enlarged().saveCharacter();
         t.document().undoStack().undo();
     }},
    {"UndoOfAnImport",
     [](auto &t) {
         t.document().importPatterns(Shown, {whiteTop()}, QStringLiteral("import"));
         t.enlarged().KakudaiDataSet(Shown); // as if opened after the import
         t.document().undoStack().undo();
     }},
    {"OpeningAFile",
     [](auto &t) {
         TitleData other;
         other.setDefaults();
         other.DotData[Shown] = whiteTop();
         ASSERT_TRUE(ZvxWriter::writeFile(t.file(QStringLiteral("other.zvx")), other).ok);
         ASSERT_TRUE(t.document().open(t.file(QStringLiteral("other.zvx"))).ok());
     }},
};

} // namespace

TEST_P(EditFormEnlargedEditorFollows, AViewWithoutEditsShowsTheCharacterAsStored)
{
    form->show();
    data->DotData[Shown][20] = PixelCode::white();
    form->pickCharacter(Shown);
    form->openEnlargedEditor();
    ASSERT_EQ(editor()->grid(), storedGrid(*data, Shown));

    GetParam().change(*this);
    EXPECT_EQ(editor()->grid(), storedGrid(*data, Shown));
    EXPECT_EQ(editor()->windowTitle(), QStringLiteral("文字52編集中"));

    // "保存" without touching a dot writes back nothing older.
    const CharPattern stored = data->DotData[Shown];
    const QUndoStack &titleSteps = form->document().undoStack();
    const int steps = titleSteps.count();
    const int index = titleSteps.index();
    editor()->saveCharacter();
    EXPECT_EQ(data->DotData[Shown], stored);
    // Not even the title's redo is lost.
    EXPECT_EQ(titleSteps.count(), steps);
    EXPECT_EQ(titleSteps.index(), index);
}

INSTANTIATE_TEST_SUITE_P(EveryChange, EditFormEnlargedEditorFollows, ::testing::ValuesIn(Changes),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(EditFormEnlargedEditor, EditsOfItsOwnAreKeptWhenTheCharacterChangesAndSavingOverItAsks)
{
    form->show();
    data->DotData[Shown][5] = PixelCode::white();
    form->pickCharacter(Shown);
    form->openEnlargedEditor();
    editor()->pressDot(0); // black
    form->document().invertBlock();
    const CharPattern changed = data->DotData[Shown];
    ASSERT_TRUE(changed[5].isBlack());

    // The operator's edit stays on screen, and the window says the store moved.
    EXPECT_EQ(editor()->grid().colour(0), KakudaiGrid::Black);
    EXPECT_EQ(editor()->grid().colour(5), KakudaiGrid::White);
    EXPECT_TRUE(editor()->storedChangedUnderEdits());
    EXPECT_EQ(editor()->windowTitle(), QStringLiteral("文字52編集中 *"));

    // "保存" asks first: キャンセル changes nothing.
    boxes.saveAnswers = {MessageBoxes::SaveChoice::Cancel};
    editor()->saveCharacter();
    ASSERT_EQ(boxes.asked.size(), 1);
    EXPECT_TRUE(boxes.asked[0].text.contains(QStringLiteral("文字52")));
    EXPECT_EQ(data->DotData[Shown], changed);
    EXPECT_EQ(editor()->grid().colour(0), KakudaiGrid::Black);

    // 破棄 drops the edits and shows the character as it now is.
    boxes.saveAnswers = {MessageBoxes::SaveChoice::Discard};
    editor()->saveCharacter();
    EXPECT_EQ(data->DotData[Shown], changed);
    EXPECT_EQ(editor()->grid(), storedGrid(*data, Shown));
    EXPECT_FALSE(editor()->storedChangedUnderEdits());

    // Ctrl+Z there brings the edits back; 保存 writes them over it.
    editor()->undoStack().undo();
    EXPECT_EQ(editor()->grid().colour(0), KakudaiGrid::Black);
    boxes.saveAnswers = {MessageBoxes::SaveChoice::Save};
    editor()->saveCharacter();
    EXPECT_EQ(boxes.asked.size(), 3);
    EXPECT_TRUE(data->DotData[Shown][0].isBlack());
    EXPECT_FALSE(editor()->storedChangedUnderEdits());
}

TEST_F(EditFormEnlargedEditor, LoadingAnotherCharacterOverEditsAsksNamingTheCharacter)
{
    form->show();
    form->pickCharacter(Shown);
    form->openEnlargedEditor();
    editor()->pressDot(7);

    // キャンセル: the press does nothing at all, the edit stays.
    boxes.saveAnswers = {MessageBoxes::SaveChoice::Cancel};
    form->pickCharacter(130);
    ASSERT_EQ(boxes.asked.size(), 1);
    EXPECT_EQ(boxes.asked[0].text, QStringLiteral("文字52の変更を保存しますか？"));
    EXPECT_EQ(data->HensyuNo, Shown);
    EXPECT_EQ(form->document().currentBlock(), 2);
    EXPECT_EQ(editor()->grid().colour(7), KakudaiGrid::Black);

    // The same character again keeps the edit without a question.
    form->pickCharacter(Shown);
    EXPECT_EQ(boxes.asked.size(), 1);
    EXPECT_EQ(editor()->grid().colour(7), KakudaiGrid::Black);

    // 保存 on a grid double-click: stored, then the cell's character loads.
    form->placeBlock(101);
    boxes.saveAnswers = {MessageBoxes::SaveChoice::Save};
    form->openEnlargedEditorAt(form->document().selectedCell());
    EXPECT_EQ(boxes.asked.size(), 2);
    EXPECT_TRUE(data->DotData[Shown][7].isBlack());
    EXPECT_EQ(data->HensyuNo, 101);

    // 破棄 on a tile press: loaded, the edit gone.
    editor()->pressDot(8);
    boxes.saveAnswers = {MessageBoxes::SaveChoice::Discard};
    form->pickCharacter(3);
    EXPECT_EQ(boxes.asked.size(), 3);
    EXPECT_EQ(data->HensyuNo, 3);
    EXPECT_TRUE(data->DotData[101][8].isTransparent());
    EXPECT_EQ(editor()->grid(), storedGrid(*data, 3));
}

TEST_F(EditFormEnlargedEditor, ClosingTheProgramOrTheEditorAsksAboutItsEdits)
{
    form->show();
    form->openEnlargedEditor();
    editor()->pressDot(0);

    boxes.saveAnswers = {MessageBoxes::SaveChoice::Cancel};
    EXPECT_FALSE(form->close());
    ASSERT_EQ(boxes.asked.size(), 1);
    EXPECT_EQ(boxes.asked[0].text, QStringLiteral("文字1の変更を保存しますか？"));
    EXPECT_TRUE(form->isVisible());

    boxes.saveAnswers = {MessageBoxes::SaveChoice::Cancel};
    EXPECT_FALSE(editor()->close());
    EXPECT_EQ(boxes.asked.size(), 2);
    ASSERT_NE(editor(), nullptr);

    // 保存 stores the character; then the title itself is asked about.
    boxes.saveAnswers = {MessageBoxes::SaveChoice::Save, MessageBoxes::SaveChoice::Discard};
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(data->DotData[1][0].isBlack());
    ASSERT_EQ(boxes.asked.size(), 4);
    EXPECT_EQ(boxes.asked[3].text, QStringLiteral("変更を保存しますか？"));
}

TEST_F(EditFormEnlargedEditor, CtrlZBelongsToTheActiveWindow)
{
    form->show();
    form->placeBlock(1);
    form->openEnlargedEditor();
    QApplication::setActiveWindow(editor());
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor()));

    editor()->pressDot(0);
    editor()->pressDot(0);
    const int titleSteps = form->document().undoStack().index();
    QTest::keyClick(editor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor()->grid().colour(0), KakudaiGrid::Black);
    QTest::keyClick(editor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor()->grid().colour(0), KakudaiGrid::Transparent);
    EXPECT_EQ(form->document().undoStack().index(), titleSteps);
    QTest::keyClick(editor(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(editor()->grid().colour(0), KakudaiGrid::Black);

    // "保存" is one step of the title, undone from the editor window only.
    editor()->saveCharacter();
    EXPECT_EQ(form->document().undoStack().index(), titleSteps + 1);
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->document().undoStack().index(), titleSteps);
    EXPECT_TRUE(data->DotData[1][0].isTransparent());
    // The view followed the undone save.
    EXPECT_EQ(editor()->grid().colour(0), KakudaiGrid::Transparent);

    // An edit of the enlarged editor's own is not the editor window's to undo.
    editor()->pressDot(5);
    ASSERT_TRUE(editor()->undoStack().canUndo());
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->document().undoStack().index(), titleSteps - 1);
    EXPECT_EQ(editor()->grid().colour(5), KakudaiGrid::Black);
    EXPECT_EQ(editor()->undoStack().index(), 1);
}

TEST_F(EditFormEnlargedEditor, BackAtTheStoredPatternNothingChangedElsewhereIsLeftToTell)
{
    struct Case
    {
        const char *name;
        // Ends with the grid showing character 3 as stored.
        std::function<void()> steps;
    };
    const Case cases[] = {
        {"PasteOverEdits",
         [this] {
             form->pickCharacter(2);
             form->openEnlargedEditor();
             editor()->actionButton(HensyuForm::Copy)->click();
             form->pickCharacter(3);
             editor()->pressDot(0);
             editor()->actionButton(HensyuForm::Paste)->click();
         }},
        {"CancelAfterThePaletteInverted",
         [this] {
             form->pickCharacter(3);
             form->openEnlargedEditor();
             editor()->pressDot(0);
             ui().LineEdit[1]->click();
             editor()->actionButton(HensyuForm::Cancel)->click();
         }},
    };
    for (const Case &c : cases) {
        CopyBuffer::shared().clear();
        makeForm(workDir.path() + QLatin1Char('/'));
        form->show();
        // Both the paste and "反転" change character 3.
        data->DotData[2][5] = PixelCode::white();
        data->DotData[3][7] = PixelCode::white();
        c.steps();
        ASSERT_FALSE(editor()->hasUnsavedEdits()) << c.name;

        editor()->pressDot(20);
        EXPECT_FALSE(editor()->storedChangedUnderEdits()) << c.name;
        EXPECT_FALSE(editor()->overtakenNotice()->isVisibleTo(editor())) << c.name;
        const qsizetype asked = boxes.asked.size();
        editor()->actionButton(HensyuForm::Save)->click();
        EXPECT_EQ(boxes.asked.size(), asked) << c.name;
        EXPECT_TRUE(data->DotData[3][20].isBlack()) << c.name;
        EXPECT_FALSE(editor()->hasUnsavedEdits()) << c.name;
    }
}
