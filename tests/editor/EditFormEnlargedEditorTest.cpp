#include "EditFormFixture.h"

#include "charedit/CopyBuffer.h"
#include "charedit/HensyuForm.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

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
