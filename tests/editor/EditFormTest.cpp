#include "EditFormFixture.h"

#include <cmath>
#include <tuple>

#include "editor/ImageMenu.h"

#include "support/PerUserFolders.h"

#include "editor/MarkerShape.h"
#include "editor/PaletteTiles.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using EditFormStartUp = EditFormFixture;
using EditFormGrid = EditFormFixture;
using EditFormPalette = EditFormFixture;

TEST_F(EditFormStartUp, SelectsChannelOneAndCharacterOneWithEverythingBlank)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("8CH-Orvex [編集]"));
    ASSERT_EQ(ui().channelList->count(), 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(ui().channelList->itemText(i), QString::number(i + 1));
    EXPECT_EQ(ui().channelList->currentText(), QStringLiteral("1"));
    EXPECT_EQ(data->ChNo, 0);
    EXPECT_EQ(form->document().topCode(), 1);
    EXPECT_EQ(form->document().selectedCell(), 0);
    EXPECT_TRUE(ui().Text1->text().isEmpty());
    EXPECT_TRUE(ui().edgingCheck->isChecked());
    EXPECT_TRUE(form->document().lastFileName().isEmpty());
    for (const auto &pattern : data->DotData)
        for (const PixelCode &code : pattern)
            ASSERT_TRUE(code.isTransparent());
    for (int cell = 0; cell < Title::Cells; ++cell)
        ASSERT_TRUE(cellShows(cell, 0)) << cell;
    EXPECT_EQ(form->fontDialogFont(), ui().Text1->font());
}

TEST_F(EditFormStartUp, ControlsStandAtTheirDesignPositions)
{
    EXPECT_EQ(ui().central->size(), QSize(436, 386));
    EXPECT_EQ(ui().edgingCheck->pos(), QPoint(214, 58));
    EXPECT_EQ(ui().DispEdit1->text(), QStringLiteral("画面クリア"));
    const std::tuple<const char *, QWidget *, QRect> placements[] = {
        {"Frame2", ui().Frame2, QRect(4, 8, 427, 373)},
        {"Frame3", ui().Frame3, QRect(4, 10, 345, 325)},
        {"Text1", ui().Text1, QRect(24, 17, 305, 24)},
        {"channelList", ui().channelList, QRect(378, 22, 39, 20)},
        {"fontButton", ui().fontButton, QRect(24, 48, 91, 25)},
        {"makeDataButton", ui().makeDataButton, QRect(118, 48, 91, 25)},
        {"Picture3", ui().Picture3, QRect(24, 80, 397, 255)},
        {"DispEdit1", ui().DispEdit1, QRect(318, 340, 103, 27)},
        {"enlargeButton", ui().enlargeButton, QRect(266, 292, 71, 27)},
        {"LineEdit[1]", ui().LineEdit[1], QRect(80, 292, 71, 27)},
        {"Line1[0]", ui().Line1[0], QRect(0, 0, 436, 1)},
        {"Line1[1]", ui().Line1[1], QRect(0, 1, 436, 1)},
        {"DispPic", ui().DispPic, ui().Picture3Client->rect()},
        {"PSetPic", ui().PSetPic, ui().Picture4Client->rect()},
    };
    for (const auto &[name, control, geometry] : placements)
        EXPECT_EQ(control->geometry(), geometry) << name;

    // The grid: 13 pixels apart along a row, 19 down a column; the last
    // column still fits inside the picture.
    EXPECT_EQ(cellRect(0).topLeft(), QPoint(2, 2));
    EXPECT_EQ(cellRect(1).topLeft(), QPoint(15, 2));
    EXPECT_EQ(cellRect(31).topLeft(), QPoint(15, 21));
    EXPECT_EQ(cellRect(389).topLeft(), QPoint(2 + 29 * 13, 2 + 12 * 19));
    EXPECT_LE(cellRect(389).right(), ui().Picture3Client->width() - 1);

    // The palette: tiles overlap by one pixel along a row, 21 pixels per row.
    EXPECT_EQ(PaletteView::tileRect(0).topLeft(), QPoint(1, -18));
    EXPECT_EQ(PaletteView::tileRect(1), QRect(1, 3, 14, 20));
    EXPECT_EQ(PaletteView::tileRect(2).topLeft(), QPoint(14, 3));
    EXPECT_EQ(PaletteView::tileRect(26).topLeft(), QPoint(1, 24));
    EXPECT_EQ(PaletteView::tileRect(250).topLeft(), QPoint(1 + 24 * 13, 3 + 9 * 21));

    ASSERT_EQ(ui().RowLabel.size(), 13);
    for (int r = 0; r < 13; ++r) {
        EXPECT_EQ(ui().RowLabel[r]->text(), QStringLiteral("%1").arg(r + 1, 2, 10, QLatin1Char('0')));
        EXPECT_EQ(ui().RowLabel[r]->y(), 88 + 19 * r);
    }
}

TEST_F(EditFormStartUp, MenusCarryAccessKeysAndShortcuts)
{
    EXPECT_EQ(ui().FileOS->title(), QStringLiteral("ﾌｧｲﾙ(&F)"));
    EXPECT_EQ(ui().ComSetting->title(), QStringLiteral("通信(&T)"));
    EXPECT_EQ(ui().FileOpenSave[0]->text(), QStringLiteral("開く(&O)"));
    EXPECT_EQ(ui().FileOpenSave[0]->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(ui().FileOpenSave[1]->text(), QStringLiteral("保存(&S)"));
    EXPECT_EQ(ui().FileOpenSave[1]->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(ui().FileOpenSave[2]->text(), QStringLiteral("名前を付けて保存"));
    EXPECT_EQ(ui().pEnd->text(), QStringLiteral("終了(&X)"));
    EXPECT_EQ(ui().DataCom->text(), QStringLiteral("データ送受信"));
    EXPECT_EQ(ui().PortSet->text(), QStringLiteral("COMポート設定"));
    const QList<QAction *> fileItems = ui().FileOS->actions();
    // Open, save, save as, the recent files, the site and the picture
    // submenu, each set off by separators, end.
    ASSERT_EQ(fileItems.size(), 11);
    EXPECT_TRUE(fileItems[3]->isSeparator());
    EXPECT_EQ(fileItems[4]->menu(), ui().recentMenu);
    EXPECT_TRUE(fileItems[5]->isSeparator());
    EXPECT_EQ(fileItems[6], ui().siteAction);
    EXPECT_TRUE(fileItems[7]->isSeparator());
    EXPECT_EQ(fileItems[8]->menu(), form->imageMenu()->menu());
    EXPECT_TRUE(fileItems[9]->isSeparator());
    EXPECT_EQ(fileItems[10], ui().pEnd);
}

TEST_F(EditFormStartUp, PaletteLiesBehindTheScreenFrameButItsButtonsTakeTheFocus)
{
    // Only blocks 0..9 have visible tiles.
    int visible = 0;
    for (int code = 0; code < Title::CodeCount; ++code)
        visible += PaletteView::isTileShown(code) ? 1 : 0;
    EXPECT_EQ(visible, 250);
    EXPECT_FALSE(PaletteView::isTileShown(0));
    EXPECT_FALSE(PaletteView::isTileShown(251));
    EXPECT_TRUE(ui().PSetPic->isVisibleTo(ui().Picture4Client));

    // Whatever is clicked over the palette or its buttons belongs to Frame2.
    form->show();
    struct Covered
    {
        QWidget *widget;
        QPoint point;
    };
    for (const Covered covered : {Covered{ui().PSetPic, PaletteView::tileRect(30).center()},
                                  Covered{ui().enlargeButton, ui().enlargeButton->rect().center()},
                                  Covered{ui().Picture1, ui().Picture1->rect().center()}}) {
        QWidget *hit = ui().central->childAt(covered.widget->mapTo(ui().central, covered.point));
        ASSERT_NE(hit, nullptr);
        EXPECT_TRUE(hit == ui().Frame2 || ui().Frame2->isAncestorOf(hit))
            << covered.widget->metaObject()->className();
    }

    QApplication::setActiveWindow(form.get());
    ui().edgingCheck->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), ui().edgingCheck);
    // Each control in the chain in turn; the palette frame comes forward
    // while one of its buttons has the focus, so the focus can be seen,
    // and goes back behind once it leaves.
    struct Step
    {
        QWidget *next;
        bool paletteInFront;
    };
    for (const Step step : {Step{ui().DispPic, false}, Step{ui().DispEdit1, false}, Step{ui().LineEdit[0], true},
                            Step{ui().LineEdit[1], true}, Step{ui().enlargeButton, true}, Step{ui().Text1, false}}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), step.next) << step.next->metaObject()->className();
        QWidget *front = ui().central->childAt(ui().enlargeButton->mapTo(ui().central, QPoint(5, 5)));
        EXPECT_EQ(front == ui().enlargeButton, step.paletteInFront) << step.next->metaObject()->className();
    }
    EXPECT_FALSE(form->paletteShown());

    // Shown from the menu, it stays in front while the focus is on what it
    // leaves in sight, and gives way to the text box it covers.
    form->showPalette(true);
    ui().channelList->setFocus();
    EXPECT_EQ(ui().central->childAt(ui().enlargeButton->mapTo(ui().central, QPoint(5, 5))), ui().enlargeButton);
    EXPECT_TRUE(form->paletteShown());
    ui().Text1->setFocus();
    EXPECT_EQ(ui().central->childAt(ui().Text1->mapTo(ui().central, QPoint(5, 5))), ui().Text1);
    EXPECT_FALSE(form->paletteShown());
}

TEST_F(EditFormGrid, TheGridTakesTheFocusAndTheKeysSelectCellsAsClicksDo)
{
    form->show();
    QApplication::setActiveWindow(form.get());
    ui().edgingCheck->setFocus();
    QTest::keyClick(ui().edgingCheck, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), ui().DispPic);

    form->selectCell(31);
    struct Press
    {
        Qt::Key key;
        int cell;
    };
    // Edges hold: no wrap into the next row or past the page.
    for (const Press p : {Press{Qt::Key_Right, 32}, Press{Qt::Key_Down, 62}, Press{Qt::Key_Left, 61},
                          Press{Qt::Key_Left, 60}, Press{Qt::Key_Left, 60}, Press{Qt::Key_Up, 30},
                          Press{Qt::Key_Up, 0}, Press{Qt::Key_Up, 0}}) {
        QTest::keyClick(ui().DispPic, p.key);
        EXPECT_EQ(form->document().selectedCell(), p.cell) << p.key;
        EXPECT_TRUE(markerStandsAt(p.cell)) << p.key;
    }
    form->selectCell(389);
    QTest::keyClick(ui().DispPic, Qt::Key_Right);
    QTest::keyClick(ui().DispPic, Qt::Key_Down);
    EXPECT_EQ(form->document().selectedCell(), 389);

    // Enter and Space press the current cell: a click there after a click
    // elsewhere is the same as a key on it.
    QSignalSpy pressed(ui().DispPic, &ScreenGrid::pressed);
    QTest::keyClick(ui().DispPic, Qt::Key_Return);
    QTest::keyClick(ui().DispPic, Qt::Key_Space);
    ASSERT_EQ(pressed.size(), 2);
    EXPECT_EQ(pressed[0][0].toInt(), 389);
    clickCell(45, Qt::LeftButton);
    QTest::keyClick(ui().DispPic, Qt::Key_Enter);
    EXPECT_EQ(pressed.last()[0].toInt(), 45);

    // The focus shows as a line round the cells, in no cell's dots.
    const QImage focused = ui().DispPic->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ui().Text1->setFocus();
    const QImage unfocused = ui().DispPic->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_NE(focused, unfocused);
    for (int cell = 0; cell < Title::Cells; ++cell) {
        const QRect r = ScreenGrid::cellRect(cell);
        ASSERT_EQ(focused.copy(r), unfocused.copy(r)) << cell;
    }
}

TEST_F(EditFormStartUp, ChannelSelectionShowsThePageTheBlockAndItsText)
{
    data->DispData(5, 0, 2) = 51;
    data->DispData(6, 0, 0) = 7;
    data->ChText[2] = QStringLiteral("第三");
    selectChannel(2);
    EXPECT_EQ(data->ChNo, 2);
    EXPECT_EQ(form->document().topCode(), 51);
    EXPECT_EQ(ui().Text1->text(), QStringLiteral("第三"));
    // The palette's marker stands on the row that "反転" would invert.
    EXPECT_EQ(ui().Shape2->geometry(), EditFormUi::blockFrame(51));
    data->DotData[51][0] = PixelCode::white();
    form->DotDataSet(51);
    form->DispDataSet(2);
    EXPECT_TRUE(cellShows(5, 51));
    EXPECT_TRUE(cellShows(6, 0));

    selectChannel(7);
    EXPECT_EQ(data->ChNo, 7);
    EXPECT_EQ(form->document().topCode(), 176);
    EXPECT_EQ(ui().Shape2->geometry(), EditFormUi::blockFrame(176));
}

TEST_F(EditFormStartUp, TypedChannelNumberSelectsItAnythingElseReselectsTheCurrentOne)
{
    selectChannel(2);
    data->ChText[2] = QStringLiteral("stored");
    ui().Text1->setText(QStringLiteral("typed"));

    ui().channelList->setEditText(QStringLiteral("9"));
    EXPECT_EQ(ui().channelList->currentText(), QStringLiteral("3"));
    EXPECT_EQ(ui().channelList->currentIndex(), 2);
    EXPECT_EQ(data->ChNo, 2);
    EXPECT_EQ(ui().Text1->text(), QStringLiteral("stored"));

    ui().channelList->setEditText(QString());
    EXPECT_EQ(ui().channelList->currentText(), QStringLiteral("3"));

    // A channel's own number selects that channel: the selector never shows
    // one channel while the window works on another.
    data->ChText[4] = QStringLiteral("five");
    ui().channelList->setEditText(QStringLiteral("5"));
    EXPECT_EQ(ui().channelList->currentText(), QStringLiteral("5"));
    EXPECT_EQ(ui().channelList->currentIndex(), 4);
    EXPECT_EQ(data->ChNo, 4);
    EXPECT_EQ(form->document().topCode(), 101);
    EXPECT_EQ(ui().Text1->text(), QStringLiteral("five"));
}

TEST_F(EditFormStartUp, ExitAndCloseEndTheProgramAndTheSeamsDoNothing)
{
    QSignalSpy ended(form.get(), &EditForm::programEnded);
    const auto before = std::make_unique<TitleData>(*data);
    form->openCommunication();
    form->choosePort();
    EXPECT_EQ(data->DotData, before->DotData);
    EXPECT_EQ(data->DispData, before->DispData);
    EXPECT_EQ(ended.count(), 0);

    ui().pEnd->trigger();
    EXPECT_EQ(ended.count(), 1);
}

TEST_F(EditFormGrid, AnyMouseButtonSelectsTheCellAndMovesTheMarker)
{
    form->show();
    clickCell(45, Qt::RightButton);
    EXPECT_EQ(form->document().selectedCell(), 45);
    EXPECT_TRUE(markerStandsAt(45));
    EXPECT_TRUE(ui().Shape4->isVisible());

    clickCell(389, Qt::LeftButton);
    EXPECT_EQ(form->document().selectedCell(), 389);
    clickCell(7, Qt::MiddleButton, Qt::ShiftModifier);
    EXPECT_EQ(form->document().selectedCell(), 7);
    EXPECT_TRUE(markerStandsAt(7));

    // Every pixel of a cell belongs to it; the margin round the cells to
    // none.
    for (const QPoint corner : {cellRect(100).topLeft(), cellRect(100).bottomRight()}) {
        QTest::mouseClick(ui().DispPic, Qt::LeftButton, {}, corner);
        EXPECT_EQ(form->document().selectedCell(), 100);
    }
    QTest::mouseClick(ui().DispPic, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_EQ(form->document().selectedCell(), 100);
}

TEST_F(EditFormGrid, TheMarkerRunsThroughTheGapsAndHidesNoDot)
{
    form->show();
    EXPECT_TRUE(markerStandsAt(0));
    for (const int cell : {45, 389, 0}) {
        form->selectCell(cell);
        EXPECT_TRUE(markerStandsAt(cell)) << cell;
    }

    // A cell whose dots are all white, in the middle of the marked run:
    // every one of them still shows white on screen.
    data->DotData[1].fill(PixelCode::white());
    form->DotDataSet(1);
    form->selectCell(0);
    form->placeBlock(1);
    const QImage shown = ui().Picture3Client->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < Title::CharHeight; ++y)
        for (int x = 0; x < Title::CharWidth; ++x)
            ASSERT_EQ(shown.pixel(cellRect(0).topLeft() + QPoint(x, y)), 0xFFFFFFFFu) << x << "," << y;
    EXPECT_EQ(shown.pixel(cellRect(0).topLeft() - QPoint(1, 1)), 0xFFFF0000u);
}

TEST_F(EditFormGrid, TheMarkerIsDrawnWholeAtFractionalScales)
{
    // Drawn as at QT_SCALE_FACTOR 1.5 and 2: every side of the frame keeps
    // red device pixels all along it.
    form->show();
    for (const qreal scale : {1.0, 1.25, 1.5, 2.0}) {
        for (const int cell : {0, 47, 389}) {
            form->selectCell(cell);
            QWidget *client = ui().Picture3Client;
            QImage shown((QSizeF(client->size()) * scale).toSize(), QImage::Format_RGB32);
            shown.setDevicePixelRatio(scale);
            shown.fill(Qt::black);
            client->render(&shown);
            const QRect frame = ui().Shape4->geometry();
            const auto device = [scale](int logical) { return int(std::floor(logical * scale)); };
            const auto redNear = [&](int x, int y, bool across) {
                // Within the device pixels the frame's logical line covers.
                for (int d = 0; d < int(std::ceil(scale)); ++d) {
                    const QPoint p = across ? QPoint(x, y + d) : QPoint(x + d, y);
                    if (shown.rect().contains(p) && shown.pixel(p) == 0xFFFF0000u)
                        return true;
                }
                return false;
            };
            // A run from late in a row reaches past the grid's right edge.
            const int left = device(frame.left()), right = device(std::min(frame.right(), client->width() - 1));
            const int top = device(frame.top()), bottom = device(frame.bottom());
            for (int x = left + 2; x < right - 1; x += 3) {
                ASSERT_TRUE(redNear(x, top, true)) << scale << " cell " << cell << " top at " << x;
                ASSERT_TRUE(redNear(x, bottom, true)) << scale << " cell " << cell << " bottom at " << x;
            }
            for (int y = top + 2; y < bottom - 1; ++y) {
                ASSERT_TRUE(redNear(left, y, false)) << scale << " cell " << cell << " left at " << y;
                if (frame.right() < client->width()) {
                    ASSERT_TRUE(redNear(right, y, false)) << scale << " cell " << cell << " right at " << y;
                }
            }
        }
    }
}

TEST_F(EditFormGrid, PlacementFillsTheRunFromTheSelectedCellWithTheWholeBlock)
{
    selectChannel(1);
    data->DotData[26][0] = PixelCode::white();
    form->DotDataSet(26);
    struct Case
    {
        int selCell;
        int count;
    };
    for (const Case c : {Case{0, 25}, Case{65, 25}, Case{36, 24}, Case{59, 1}, Case{389, 1}}) {
        ScreenLayout::clearPage(*data, 1);
        form->selectCell(c.selCell);
        form->placePaletteBlock(44); // any tile of block 1 places from code 26 on
        EXPECT_EQ(form->document().topCode(), 26);
        EXPECT_EQ(form->document().selectedCell(), c.selCell);
        for (int i = 0; i < c.count; ++i) {
            ASSERT_EQ(data->DispData(c.selCell + i, 0, 1), 26 + i) << c.selCell;
            ASSERT_TRUE(cellShows(c.selCell + i, 26 + i));
        }
        if (c.selCell + c.count < Title::Cells) {
            EXPECT_EQ(data->DispData(c.selCell + c.count, 0, 1), 0) << c.selCell;
        }
        EXPECT_TRUE(markerStandsAt(c.selCell));
    }
    for (int cell = 0; cell < Title::Cells; ++cell)
        ASSERT_EQ(data->DispData(cell, 0, 0), 0);
}

TEST_F(EditFormGrid, ScreenClearEmptiesOnlyLayerZeroOfTheCurrentPage)
{
    selectChannel(2);
    data->DispData(10, 0, 0) = 5;
    data->DispData(10, 1, 2) = 99;
    form->selectCell(33);
    form->placeBlock(51);
    const QPoint markerBefore = ui().Shape4->pos();

    ui().DispEdit1->click();
    for (int cell = 0; cell < Title::Cells; ++cell) {
        ASSERT_EQ(data->DispData(cell, 0, 2), 0);
        ASSERT_TRUE(cellShows(cell, 0));
    }
    EXPECT_EQ(data->DispData(10, 1, 2), 99);
    EXPECT_EQ(data->DispData(10, 0, 0), 5);
    EXPECT_EQ(form->document().selectedCell(), 33);
    EXPECT_EQ(ui().Shape4->pos(), markerBefore);
}

TEST_F(EditFormGrid, TheWorkFileEndsWithTheLastCellDrawnAndCellsNeverNeedIt)
{
    const QString workFile = path(QStringLiteral("SetBmp.bmp"));
    auto workFileImage = [&] {
        return QImage(workFile, "BMP").convertToFormat(QImage::Format_RGB32);
    };
    // The page the load draws reaches the file once the event loop runs,
    // after the window could first appear.
    EXPECT_FALSE(QFile::exists(workFile));
    QCoreApplication::processEvents();
    EXPECT_EQ(workFileImage(), form->tileImage(0));

    data->DotData[3][0] = PixelCode::black();
    form->DotDataSet(3);
    form->placeBlock(3);
    EXPECT_TRUE(cellShows(2, 3));
    // The last cell placed was code 25, in cell 24.
    EXPECT_EQ(workFileImage(), form->tileImage(25));

    data->DotData[7][5] = PixelCode::white();
    form->DotDataSet(7);
    data->DispData(389, 0, 0) = 7;
    form->DispDataSet(0);
    EXPECT_EQ(workFileImage(), form->tileImage(7));

    ui().DispEdit1->click();
    EXPECT_EQ(workFileImage(), form->tileImage(0));

    // A window closed before the event loop ran still leaves the file.
    QFile::remove(workFile);
    makeForm(workDir.path() + QLatin1Char('/'));
    form.reset();
    EXPECT_EQ(workFileImage(), PaletteTiles().image(0));

    // A folder that does not exist (the per-user cache takes its place) and
    // one where the work file is a folder (the cell takes the tile itself).
    PerUserFolders home;
    QDir(workDir.path()).mkpath(QStringLiteral("blocked/SetBmp.bmp"));
    for (const QString &folder : {path(QStringLiteral("missing/")), path(QStringLiteral("blocked/"))}) {
        makeForm(folder);
        data->DotData[3][0] = PixelCode::black();
        form->DotDataSet(3);
        form->placeBlock(3);
        EXPECT_TRUE(cellShows(2, 3)) << folder.toStdString();
        EXPECT_EQ(cellImage(2).pixel(0, 0), 0xFF000000u) << folder.toStdString();
        EXPECT_TRUE(cellShows(30, 0)) << folder.toStdString();
    }
}

TEST_F(EditFormPalette, TilePressSelectsTheBlockAndRecallsItsText)
{
    data->ChText[4] = QStringLiteral("four");
    ui().Text1->setText(QStringLiteral("typed"));
    form->pickCharacter(107);
    EXPECT_EQ(form->document().topCode(), 101);
    EXPECT_EQ(ui().Text1->text(), QStringLiteral("four"));
    EXPECT_TRUE(ui().Shape2->isVisibleTo(ui().Picture4Client));
    EXPECT_EQ(ui().Shape2->geometry(), QRect(PaletteView::tileRect(101).topLeft() - QPoint(1, 1), QSize(328, 22)));

    form->pickCharacter(25);
    EXPECT_EQ(form->document().topCode(), 1);
    form->pickCharacter(26);
    EXPECT_EQ(form->document().topCode(), 26);

    // Codes outside the ten blocks have no pressable tile.
    form->pickCharacter(251);
    form->pickCharacter(0);
    EXPECT_EQ(form->document().topCode(), 26);
}

TEST_F(EditFormPalette, DotDataSetDrawsKnownCodesOverTheTile)
{
    const QImage blank = form->tileImage(0);
    EXPECT_EQ(blank.pixel(0, 0), 0xFF808080u);
    EXPECT_EQ(blank.pixel(13, 19), 0xFF808080u);
    EXPECT_EQ(form->tileImage(9).pixel(5, 5), 0xFFAEAEAEu);

    auto &pattern = data->DotData[9];
    pattern[0] = PixelCode::black();
    pattern[1] = PixelCode::white();
    pattern[13] = PixelCode::white();
    pattern[215] = PixelCode::black();
    pattern[216] = PixelCode::black(); // spare dots are never shown
    form->DotDataSet(9);
    const QImage tile = form->tileImage(9);
    EXPECT_EQ(tile.pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(tile.pixel(1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(tile.pixel(2, 0), 0xFFAEAEAEu);
    EXPECT_EQ(tile.pixel(1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(tile.pixel(11, 17), 0xFF000000u);
    EXPECT_EQ(tile.pixel(0, 18), 0xFFAEAEAEu);
    EXPECT_EQ(tile.pixel(12, 0), 0xFFAEAEAEu);

    // An empty element is not drawn; an unredrawn change is not shown.
    pattern[1] = PixelCode();
    pattern[0] = PixelCode::transparent();
    form->DotDataSet(9);
    EXPECT_EQ(form->tileImage(9).pixel(1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(form->tileImage(9).pixel(0, 0), 0xFFAEAEAEu);
    pattern[2] = PixelCode::black();
    EXPECT_EQ(form->tileImage(9).pixel(2, 0), 0xFFAEAEAEu);
    EXPECT_EQ(tileShown(9), form->tileImage(9));
}
