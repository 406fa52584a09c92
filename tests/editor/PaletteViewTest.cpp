#include "editor/PaletteView.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

TEST(PaletteView, APressFindsTheTileOnTopAndNoneOfTheHiddenOnes)
{
    struct Case
    {
        QPoint pos;
        int code;
    };
    for (const Case c : {Case{{1, 3}, 1}, Case{{13, 3}, 1}, Case{{14, 3}, 2}, // tile 2 covers the shared pixel
                         Case{{1 + 24 * 13 + 13, 3}, 25}, Case{{1 + 25 * 13 + 1, 3}, -1},
                         Case{{1, 3 + 19}, 1}, Case{{1, 3 + 20}, -1}, Case{{1, 24}, 26}, // the row gap
                         Case{{1 + 24 * 13, 3 + 9 * 21}, 250}, Case{{1, 3 + 10 * 21}, -1}, // 251 is hidden
                         Case{{0, 5}, -1}, Case{{5, 2}, -1}}) {
        EXPECT_EQ(PaletteView::tileAt(c.pos), c.code) << c.pos.x() << "," << c.pos.y();
    }

    QWidget parent;
    auto *palette = new PaletteView(&parent);
    palette->setGeometry(0, 0, 333, 219);
    parent.show();
    QSignalSpy pressed(palette, &PaletteView::pressed);
    QSignalSpy doubleClicked(palette, &PaletteView::doubleClicked);
    QTest::mouseClick(palette, Qt::RightButton, {}, PaletteView::tileRect(107).center());
    QTest::mouseDClick(palette, Qt::LeftButton, {}, PaletteView::tileRect(44).center());
    ASSERT_GE(pressed.size(), 1);
    EXPECT_EQ(pressed[0][0].toInt(), 107);
    ASSERT_EQ(doubleClicked.size(), 1);
    EXPECT_EQ(doubleClicked[0][0].toInt(), 44);
}
