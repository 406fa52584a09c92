#include "EditFormFixture.h"

#include "charedit/CopyBuffer.h"
#include "charedit/HensyuForm.h"
#include "core/ZvxWriter.h"
#include "document/StoredTitle.h"
#include "editor/PaletteTiles.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QUndoStack>

#include <functional>

namespace {

using Stores = StoredTitle;

class EditFormUndo : public EditFormFixture
{
protected:
    void SetUp() override
    {
        CopyBuffer::shared().clear();
        EditFormFixture::SetUp();
    }

    // A rendered block 0 on page 0 to work on, as if opened from a file:
    // nothing to undo yet.
    void renderBlockZero(bool edging)
    {
        ui().edgingCheck->setChecked(edging);
        ui().Text1->setText(QStringLiteral("Ab"));
        form->makeData();
        form->document().undoStack().clear();
    }

    // Every tile shows its pattern and every cell of the shown page its
    // code's tile: the screen holds nothing the title does not.
    void expectScreenShowsTheTitle() const
    {
        PaletteTiles fresh;
        for (int code = 0; code < Title::CodeCount; ++code) {
            fresh.draw(code, data->DotData[code]);
            ASSERT_EQ(form->tileImage(code), fresh.image(code)) << "tile " << code;
        }
        for (int cell = 0; cell < Title::Cells; ++cell)
            ASSERT_TRUE(cellShows(cell, data->DispData(cell, 0, data->ChNo))) << "cell " << cell;
    }
};

class EditFormEachUndoableEdit;

struct UndoableEdit
{
    const char *name;
    std::function<void(EditFormEachUndoableEdit &)> prepare;
    std::function<void(EditFormEachUndoableEdit &)> edit;
};

class EditFormEachUndoableEdit : public EditFormUndo, public ::testing::WithParamInterface<UndoableEdit>
{
public:
    EditForm &editor() { return *form; }
    QString otherFile() const { return path(QStringLiteral("other.zvx")); }
    using EditFormUndo::renderBlockZero;
};

const UndoableEdit Edits[] = {
    {"MakeData",
     [](auto &t) {
         t.editor().selectCell(32);
         t.editor().ui().Text1->setText(QStringLiteral("Title"));
     },
     [](auto &t) { t.editor().makeData(); }},
    {"ClearScreen",
     [](auto &t) {
         t.editor().placeBlock(1);
         t.editor().document().undoStack().clear();
     },
     [](auto &t) { t.editor().clearScreen(); }},
    {"PlacePaletteBlock", [](auto &t) { t.editor().selectCell(40); },
     [](auto &t) { t.editor().placePaletteBlock(30); }},
    {"EdgeBlock", [](auto &t) { t.renderBlockZero(false); },
     [](auto &t) { t.editor().ui().LineEdit[0]->click(); }},
    {"InvertBlock", [](auto &t) { t.renderBlockZero(true); },
     [](auto &t) { t.editor().ui().LineEdit[1]->click(); }},
    {"EnlargedEditorSave",
     [](auto &t) {
         t.renderBlockZero(true);
         t.editor().pickCharacter(1);
         t.editor().openEnlargedEditor();
         t.editor().enlargedEditor()->pressDot(0);
         t.editor().enlargedEditor()->pressDot(13);
     },
     [](auto &t) { t.editor().enlargedEditor()->saveCharacter(); }},
    {"EnlargedEditorPaste",
     [](auto &t) {
         t.renderBlockZero(true);
         t.editor().pickCharacter(2);
         t.editor().enlargedEditor()->copyCharacter();
         t.editor().pickCharacter(3);
     },
     [](auto &t) { t.editor().enlargedEditor()->pasteCharacter(); }},
    {"OpenFile",
     [](auto &t) {
         t.renderBlockZero(true);
         TitleData other;
         other.setDefaults();
         other.ChText[0] = QStringLiteral("file");
         other.DotData[5][7] = PixelCode::white();
         other.DispData(8, 0, 0) = 5;
         ASSERT_TRUE(ZvxWriter::writeFile(t.otherFile(), other).ok);
     },
     [](auto &t) { t.editor().openDataFile(t.otherFile()); }},
};

} // namespace

TEST_P(EditFormEachUndoableEdit, IsOneStepThatUndoesAndRedoesToTheSameStoresAndScreen)
{
    const UndoableEdit &edit = GetParam();
    edit.prepare(*this);
    ASSERT_FALSE(HasFatalFailure());
    const Stores before(*data);
    const int steps = form->document().undoStack().count();

    edit.edit(*this);
    const Stores after(*data);
    ASSERT_NE(after, before) << "the edit changed nothing";
    EXPECT_EQ(form->document().undoStack().count(), steps + 1);
    EXPECT_TRUE(ui().undoAction->isEnabled());
    expectScreenShowsTheTitle();

    ui().undoAction->trigger();
    EXPECT_EQ(Stores(*data), before);
    EXPECT_TRUE(ui().redoAction->isEnabled());
    expectScreenShowsTheTitle();

    ui().redoAction->trigger();
    EXPECT_EQ(Stores(*data), after);
    expectScreenShowsTheTitle();
}

INSTANTIATE_TEST_SUITE_P(, EditFormEachUndoableEdit, ::testing::ValuesIn(Edits),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(EditFormUndo, EditsThatChangeNothingLeaveNoStepAndNoModifiedMark)
{
    form->clearScreen();                     // the page is blank already
    ui().LineEdit[0]->click();               // nothing white to edge
    form->enlargedEditor()->saveCharacter(); // the grid holds the stored pattern
    EXPECT_EQ(form->document().undoStack().count(), 0);
    EXPECT_TRUE(form->document().undoStack().isClean());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("8CH-Orvex [編集]"));
}

TEST_F(EditFormUndo, UndoOnAnotherChannelsPageShowsThatChannel)
{
    selectChannel(2);
    form->selectCell(5);
    form->placeBlock(51);
    selectChannel(0);

    form->document().undoStack().undo();
    EXPECT_EQ(data->ChNo, 2);
    EXPECT_EQ(ui().channelList->currentIndex(), 2);
    EXPECT_EQ(data->DispData(5, 0, 2), 0);
    expectScreenShowsTheTitle();
}

TEST_F(EditFormUndo, UndoOfMakeDataGivesBackTheTextBox)
{
    ui().Text1->setText(QStringLiteral("one"));
    form->makeData();
    ui().Text1->setText(QStringLiteral("two"));
    form->makeData();

    form->document().undoStack().undo();
    EXPECT_EQ(data->ChText[0], QStringLiteral("one"));
    EXPECT_EQ(ui().Text1->text(), QStringLiteral("one"));
}

TEST_F(EditFormUndo, EdgingAndEnlargedSaveRedrawTheCellsShowingTheCharacter)
{
    // Without a redraw the cells would keep the old images until the next
    // channel change.
    renderBlockZero(false);
    ui().LineEdit[0]->click();
    expectScreenShowsTheTitle();

    form->pickCharacter(2);
    form->enlargedEditor()->pressDot(0);
    form->enlargedEditor()->saveCharacter();
    expectScreenShowsTheTitle();
}

TEST_F(EditFormUndo, UndoOfOpenGivesBackTheFileNameSoSaveCannotOverwriteTheOpenedFile)
{
    TitleData other;
    other.setDefaults();
    other.ChText[1] = QStringLiteral("other");
    ASSERT_TRUE(ZvxWriter::writeFile(path(QStringLiteral("other.zvx")), other).ok);
    ASSERT_TRUE(form->openDataFile(path(QStringLiteral("other.zvx"))));
    EXPECT_EQ(form->document().dataFileName(), path(QStringLiteral("other.zvx")));

    form->document().undoStack().undo();
    EXPECT_TRUE(form->document().dataFileName().isEmpty());
    EXPECT_TRUE(form->document().lastFileName().isEmpty());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("8CH-Orvex [編集] *"));
}
