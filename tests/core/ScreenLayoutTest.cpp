#include "core/ScreenLayout.h"

#include <gtest/gtest.h>

using namespace ScreenLayout;

TEST(ScreenLayout, RunLengthNeverPassesTheEndOfTheRow)
{
    EXPECT_EQ(lastOffset(0) + 1, 25);
    EXPECT_EQ(lastOffset(5) + 1, 25);
    EXPECT_EQ(lastOffset(6) + 1, 24);
    EXPECT_EQ(lastOffset(29) + 1, 1);
    EXPECT_EQ(lastOffset(389) + 1, 1);
    EXPECT_EQ(lastOffset(30 * 4 + 10) + 1, 20);
}

TEST(ScreenLayout, BlockTopCodeIsTheFirstCodeOfTheBlock)
{
    EXPECT_EQ(blockTopCode(1), 1);
    EXPECT_EQ(blockTopCode(25), 1);
    EXPECT_EQ(blockTopCode(26), 26);
    EXPECT_EQ(blockTopCode(57), 51);
    EXPECT_EQ(blockTopCode(250), 226);
}

TEST(ScreenLayout, PlaceAndClearTouchOnlyLayerZeroOfOnePage)
{
    TitleData data;
    data.setDefaults();
    data.DispData(3, 1, 2) = 9;
    data.DispData(0, 0, 3) = 77;

    EXPECT_EQ(placeBlock(data, 2, 388, 51), 2);
    EXPECT_EQ(data.DispData(388, 0, 2), 51);
    EXPECT_EQ(data.DispData(389, 0, 2), 52);

    EXPECT_EQ(placeBlock(data, 2, 0, 51), 25);
    EXPECT_EQ(data.DispData(24, 0, 2), 75);
    EXPECT_EQ(data.DispData(25, 0, 2), 0);

    clearPage(data, 2);
    for (int cell = 0; cell < Title::Cells; ++cell)
        EXPECT_EQ(data.DispData(cell, 0, 2), 0);
    EXPECT_EQ(data.DispData(3, 1, 2), 9);
    EXPECT_EQ(data.DispData(0, 0, 3), 77);
}
