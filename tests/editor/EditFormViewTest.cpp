#include "EditFormFixture.h"

#include "charedit/HensyuForm.h"
#include "editor/PaletteView.h"
#include "editor/ScreenGrid.h"
#include "support/ScratchPortChoices.h"
#include "support/ScriptedPortDiscovery.h"
#include "support/FakeLinkPlatform.h"
#include "linkui/LinkWindows.h"
#include "linkui/SerForm.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QWindow>

namespace {

class EditFormView : public EditFormFixture
{
protected:
    void TearDown() override
    {
        form.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The widget a click at `point` of `widget` lands on.
    QWidget *hitAt(QWidget *widget, QPoint point) const
    {
        return ui().central->childAt(widget->mapTo(ui().central, point));
    }
    // The widget a click at the centre of `widget` lands on.
    QWidget *hitAt(QWidget *widget) const { return hitAt(widget, widget->rect().center()); }
    // Whether a click on `widget` reaches it (or the line edit inside it).
    bool canBeClicked(QWidget *widget) const
    {
        QWidget *hit = hitAt(widget);
        return hit == widget || widget->isAncestorOf(hit);
    }

    // The window shown and active, and the focus moved by keyboard from the
    // text box back round the chain to "拡大編集".
    void tabBackToEnlargeButton()
    {
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        QTest::keyClick(ui().Text1, Qt::Key_Backtab);
        ASSERT_EQ(QApplication::focusWidget(), ui().enlargeButton);
    }

    FakeLinkPlatform platform;
    ScriptedPortDiscovery portDiscovery;
    ScratchPortChoices portChoices;
};

} // namespace

TEST_F(EditFormView, NewMenusSitBetweenFileAndCommunication)
{
    const QList<QAction *> menus = form->menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    EXPECT_EQ(menus[0]->menu(), ui().FileOS);
    EXPECT_EQ(menus[1]->text(), QStringLiteral("編集(&E)"));
    EXPECT_EQ(menus[2]->text(), QStringLiteral("表示(&V)"));
    EXPECT_EQ(menus[3]->menu(), ui().ComSetting);
    EXPECT_EQ(ui().undoAction->text(), QStringLiteral("元に戻す"));
    EXPECT_EQ(ui().undoAction->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_EQ(ui().redoAction->text(), QStringLiteral("やり直し"));
    EXPECT_EQ(ui().redoAction->shortcut(), QKeySequence(QStringLiteral("Ctrl+Y")));
    EXPECT_FALSE(ui().undoAction->isEnabled());
    EXPECT_EQ(ui().paletteAction->text(), QStringLiteral("文字パレット"));
    EXPECT_TRUE(ui().paletteAction->isCheckable());
    EXPECT_FALSE(ui().paletteAction->isChecked());
}

TEST_F(EditFormView, PaletteItemBringsThePaletteIntoViewAndBack)
{
    form->show();
    QWidget *palette = ui().PSetPic;
    const QPoint tile = PaletteView::tileRect(30).center();
    EXPECT_FALSE(form->paletteShown());
    EXPECT_NE(hitAt(palette, tile), palette);

    ui().paletteAction->trigger();
    EXPECT_TRUE(form->paletteShown());
    EXPECT_EQ(hitAt(palette, tile), palette);
    EXPECT_EQ(hitAt(ui().enlargeButton), ui().enlargeButton);
    EXPECT_EQ(hitAt(ui().LineEdit[0]), ui().LineEdit[0]);
    // A press on the tile now reaches it.
    QTest::mouseClick(palette, Qt::LeftButton, {}, tile);
    EXPECT_EQ(form->document().topCode(), 26);

    ui().paletteAction->trigger();
    EXPECT_FALSE(form->paletteShown());
    QWidget *hit = hitAt(palette, tile);
    EXPECT_TRUE(hit == ui().Frame2 || ui().Frame2->isAncestorOf(hit));
}

TEST_F(EditFormView, DoubleClickOnACellOpensTheEnlargedEditorOnItsCharacter)
{
    form->show();
    selectChannel(1); // channel 2: codes 26..50
    form->selectCell(100);
    form->placePaletteBlock(26);
    form->pickCharacter(1);

    // The first click of a double-click arrives as a press of its own.
    clickCell(103, Qt::LeftButton);
    QTest::mouseDClick(ui().DispPic, Qt::LeftButton, {}, ui().DispPic->cellRect(103).center());
    HensyuForm *editor = form->enlargedEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("文字29編集中"));
    EXPECT_EQ(data->HensyuNo, 29);
    // The press that begins the double-click still selects the cell.
    EXPECT_EQ(form->document().selectedCell(), 103);
}

TEST_F(EditFormView, EnlargedEditorAndCommunicationWindowStayOnTopOfTheEditor)
{
    form->attachLink(platform, portDiscovery, portChoices.store);
    form->show();
    form->openEnlargedEditor();
    form->link()->usePort(PortChoice::ofOption(1));
    form->openCommunication();
    SerForm *serForm = form->link()->existingSerForm();
    ASSERT_NE(serForm, nullptr);
    for (QWidget *owned : {static_cast<QWidget *>(form->enlargedEditor()), static_cast<QWidget *>(serForm)}) {
        ASSERT_NE(owned->windowHandle(), nullptr);
        EXPECT_EQ(owned->windowHandle()->transientParent(), form->windowHandle());
    }
}

TEST_F(EditFormView, AfterTheEnlargedEditorClosesTheTextBoxIsInFrontAndTakesTheTyping)
{
    ASSERT_NO_FATAL_FAILURE(tabBackToEnlargeButton());
    QTest::keyClick(ui().enlargeButton, Qt::Key_Space);
    ASSERT_NE(form->enlargedEditor(), nullptr);
    ASSERT_TRUE(form->enlargedEditor()->isVisible());

    form->enlargedEditor()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(QApplication::focusWidget(), ui().Text1);
    EXPECT_TRUE(canBeClicked(ui().Text1));
    EXPECT_FALSE(canBeClicked(ui().enlargeButton));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("AB"));
    EXPECT_EQ(ui().Text1->text(), QStringLiteral("AB"));
}

TEST_F(EditFormView, ThePaletteChosenWhileInFrontForTheFocusLeavesNoHiddenControlToTab)
{
    ASSERT_NO_FATAL_FAILURE(tabBackToEnlargeButton());
    ASSERT_TRUE(canBeClicked(ui().enlargeButton));
    EXPECT_FALSE(ui().paletteAction->isChecked());

    ui().paletteAction->trigger();
    EXPECT_TRUE(ui().paletteAction->isChecked());
    // Round the whole chain: the control with the focus can always be seen,
    // and while the item is checked the palette is in front.
    for (int i = 0; i < 11; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        EXPECT_TRUE(canBeClicked(focused)) << i << " " << focused->metaObject()->className();
        if (ui().paletteAction->isChecked()) {
            EXPECT_TRUE(canBeClicked(ui().enlargeButton)) << i;
        }
    }
    EXPECT_FALSE(ui().paletteAction->isChecked());

    // Chosen while the text box has the focus: the focus comes forward with
    // the palette, and goes back with it.
    ASSERT_EQ(QApplication::focusWidget(), ui().Text1);
    ui().paletteAction->trigger();
    EXPECT_TRUE(ui().Frame3->isAncestorOf(QApplication::focusWidget()));
    EXPECT_TRUE(canBeClicked(QApplication::focusWidget()));
    ui().paletteAction->trigger();
    EXPECT_EQ(QApplication::focusWidget(), ui().Text1);
    EXPECT_TRUE(canBeClicked(ui().Text1));
}
