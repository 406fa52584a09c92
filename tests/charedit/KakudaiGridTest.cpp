#include "charedit/KakudaiGrid.h"

#include <gtest/gtest.h>

namespace {

constexpr QRgb B = KakudaiGrid::Black;
constexpr QRgb W = KakudaiGrid::White;
constexpr QRgb T = KakudaiGrid::Transparent;

KakudaiGrid transparentGrid()
{
    KakudaiGrid grid;
    grid.fill(T);
    return grid;
}

int n(int x, int y)
{
    return y * KakudaiGrid::Columns + x;
}

int count(const KakudaiGrid &grid, QRgb colour)
{
    int c = 0;
    for (int i = 0; i < KakudaiGrid::Count; ++i)
        c += grid.colour(i) == colour;
    return c;
}

} // namespace

TEST(KakudaiGrid, ClickCyclesThroughTheThreeColoursOnly)
{
    KakudaiGrid grid = transparentGrid();
    grid.cycle(7);
    EXPECT_EQ(grid.colour(7), B);
    grid.cycle(7);
    EXPECT_EQ(grid.colour(7), W);
    grid.cycle(7);
    grid.cycle(7);
    EXPECT_EQ(grid.colour(7), B); // four clicks from black: back to black

    KakudaiGrid fresh;
    fresh.cycle(0);
    EXPECT_EQ(fresh.colour(0), KakudaiGrid::Neutral);
}

TEST(KakudaiGrid, EdgingOutlinesWithoutDiagonalsOrWrapping)
{
    KakudaiGrid plus = transparentGrid();
    plus.setColour(n(5, 8), W);
    plus.edge();
    EXPECT_EQ(plus.colour(n(5, 7)), B);
    EXPECT_EQ(plus.colour(n(4, 8)), B);
    EXPECT_EQ(plus.colour(n(6, 8)), B);
    EXPECT_EQ(plus.colour(n(5, 9)), B);
    EXPECT_EQ(count(plus, B), 4);

    KakudaiGrid corner = transparentGrid();
    corner.setColour(0, W);
    corner.setColour(n(11, 3), W);
    corner.edge();
    EXPECT_EQ(corner.colour(1), B);
    EXPECT_EQ(corner.colour(12), B);
    EXPECT_EQ(corner.colour(n(0, 4)), T); // column 11 does not reach the next row
    EXPECT_EQ(count(corner, B), 2 + 3);

    KakudaiGrid pair = transparentGrid();
    pair.setColour(n(3, 17), W);
    pair.setColour(n(4, 17), W);
    pair.setColour(n(2, 17), B);
    pair.edge();
    EXPECT_EQ(pair.colour(n(3, 17)), W);
    EXPECT_EQ(pair.colour(n(4, 17)), W);
    EXPECT_EQ(pair.colour(n(5, 17)), B);
    EXPECT_EQ(count(pair, B), 4); // the black one, right and the two above

    KakudaiGrid again = pair;
    again.edge();
    EXPECT_EQ(again, pair);
}

TEST(KakudaiGrid, ShiftsLoseWhatLeavesTheGrid)
{
    KakudaiGrid grid = transparentGrid();
    for (int x = 0; x < 12; ++x)
        grid.setColour(n(x, 0), W);
    grid.setColour(n(2, 1), B);
    const KakudaiGrid before = grid;

    grid.shiftUp();
    EXPECT_EQ(grid.colour(n(2, 0)), B);
    EXPECT_EQ(count(grid, W), 0);
    for (int x = 0; x < 12; ++x)
        EXPECT_EQ(grid.colour(n(x, 17)), T);
    for (int i = 0; i < 3; ++i)
        grid.shiftUp();
    for (int i = 0; i < 4; ++i)
        grid.shiftDown();
    EXPECT_NE(grid, before);
    EXPECT_EQ(count(grid, B) + count(grid, W), 0);

    KakudaiGrid side = transparentGrid();
    side.setColour(n(0, 5), W);
    side.setColour(n(11, 6), B);
    side.shiftRight();
    EXPECT_EQ(side.colour(n(1, 5)), W);
    EXPECT_EQ(side.colour(n(0, 5)), T);
    EXPECT_EQ(side.colour(n(0, 7)), T); // nothing wraps into the next row
    EXPECT_EQ(count(side, B), 0);
    side.shiftLeft();
    side.shiftLeft();
    EXPECT_EQ(count(side, W), 0);
    EXPECT_EQ(count(side, T), KakudaiGrid::Count);
}

TEST(KakudaiGrid, SwapAndPerColourCommandsLeaveOtherColoursAlone)
{
    KakudaiGrid grid; // neutral everywhere
    grid.setColour(0, W);
    grid.setColour(1, B);
    grid.setColour(2, T);
    const KakudaiGrid before = grid;
    grid.swapBlackWhite();
    EXPECT_EQ(grid.colour(0), B);
    EXPECT_EQ(grid.colour(1), W);
    EXPECT_EQ(grid.colour(2), T);
    EXPECT_EQ(grid.colour(3), KakudaiGrid::Neutral);
    grid.swapBlackWhite();
    EXPECT_EQ(grid, before);

    grid.replace(B, T);
    EXPECT_EQ(grid.colour(1), T);
    EXPECT_EQ(grid.colour(0), W);
    grid.shiftDown();
    EXPECT_EQ(grid.colour(n(0, 1)), W);
    EXPECT_EQ(grid.colour(n(3, 0)), T);
}

TEST(KakudaiGrid, LoadAndStoreKeepToTheThreeCodes)
{
    CharPattern pattern;
    pattern.fill(PixelCode::transparent());
    pattern[0] = PixelCode::black();
    pattern[1] = PixelCode::white();
    pattern[2] = PixelCode::fromText(u""); // a short file's empty element
    pattern[216] = PixelCode::white();

    KakudaiGrid grid;
    grid.load(pattern);
    EXPECT_EQ(grid.colour(0), B);
    EXPECT_EQ(grid.colour(1), W);
    EXPECT_EQ(grid.colour(2), KakudaiGrid::Neutral);
    EXPECT_EQ(grid.colour(3), T);

    CharPattern stored = pattern;
    EXPECT_FALSE(grid.store(stored));
    EXPECT_EQ(stored, pattern);

    grid.setColour(2, B);
    grid.setColour(215, W);
    ASSERT_TRUE(grid.store(stored));
    EXPECT_TRUE(stored[2].isBlack());
    EXPECT_TRUE(stored[215].isWhite());
    EXPECT_TRUE(stored[216].isWhite());
}
