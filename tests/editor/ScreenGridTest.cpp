#include "editor/ScreenGrid.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

TEST(ScreenGrid, EveryPixelOfACellAndNoneBetweenOrOutsideBelongsToIt)
{
    struct Case
    {
        QPoint pos;
        int cell;
    };
    for (const Case c : {Case{{2, 2}, 0}, Case{{14, 20}, 0}, Case{{15, 2}, 1}, Case{{2, 21}, 30},
                         Case{{2 + 29 * 13 + 12, 2 + 12 * 19 + 18}, 389}, Case{{1, 5}, -1}, Case{{5, 1}, -1},
                         Case{{2 + 30 * 13, 5}, -1}, Case{{5, 2 + 13 * 19}, -1}}) {
        EXPECT_EQ(ScreenGrid::cellAt(c.pos), c.cell) << c.pos.x() << "," << c.pos.y();
        if (c.cell >= 0) {
            EXPECT_TRUE(ScreenGrid::cellRect(c.cell).contains(c.pos));
        }
    }
}

TEST(ScreenGrid, ReportsPressesAndDoubleClicksWithTheCell)
{
    QWidget parent;
    auto *grid = new ScreenGrid(&parent);
    grid->setGeometry(0, 0, 400, 260);
    parent.show();
    QSignalSpy pressed(grid, &ScreenGrid::pressed);
    QSignalSpy doubleClicked(grid, &ScreenGrid::doubleClicked);

    QTest::mouseClick(grid, Qt::RightButton, {}, ScreenGrid::cellRect(77).center());
    QTest::mouseDClick(grid, Qt::LeftButton, {}, ScreenGrid::cellRect(301).center());
    // Neither between nor outside the cells.
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(1, 0));
    QTest::mouseDClick(grid, Qt::LeftButton, {}, QPoint(395, 255));

    ASSERT_EQ(doubleClicked.size(), 1);
    EXPECT_EQ(doubleClicked[0][0].toInt(), 301);
    ASSERT_GE(pressed.size(), 1);
    EXPECT_EQ(pressed[0][0].toInt(), 77);
    for (const QList<QVariant> &press : pressed)
        EXPECT_TRUE(press[0].toInt() == 77 || press[0].toInt() == 301);
}

TEST(ScreenGrid, ACellKeepsTheImageItWasGivenAndShowsItCutToTheCell)
{
    QWidget parent;
    auto *grid = new ScreenGrid(&parent);
    grid->setGeometry(0, 0, 400, 260);
    QImage tile(14, 20, QImage::Format_RGB32);
    tile.fill(0xFF112233);
    tile.setPixel(0, 0, 0xFFFFFFFF);
    tile.setPixel(13, 19, 0xFF000000); // beyond the cell: never shown
    grid->setImage(31, tile);
    tile.fill(0xFFFF0000); // later drawing on the tile stays there

    EXPECT_EQ(grid->image(31).pixel(5, 5), 0xFF112233u);
    const QImage shown = grid->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint origin = ScreenGrid::cellRect(31).topLeft();
    EXPECT_EQ(shown.pixel(origin), 0xFFFFFFFFu);
    EXPECT_EQ(shown.pixel(origin + QPoint(12, 18)), 0xFF112233u);
    // The neighbour below and to the right starts where the cell ends.
    EXPECT_NE(shown.pixel(origin + QPoint(13, 19)), 0xFF000000u);
}
