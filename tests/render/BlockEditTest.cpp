#include "render/BlockEdit.h"

#include "RenderTestData.h"

#include <gtest/gtest.h>

using namespace RenderTestData;

namespace {
constexpr int Top = 51; // block 2
}

TEST(BlockEdit, EdgingCrossesFromOneCharacterIntoTheNext)
{
    TitleData data = defaults();
    setDot(data, Top + 5, 11, 4, PixelCode::white());
    BlockEdit::edge(data, Top);

    EXPECT_TRUE(dot(data, Top + 6, 0, 4).isBlack());
    EXPECT_TRUE(dot(data, Top + 5, 10, 4).isBlack());
    EXPECT_TRUE(dot(data, Top + 5, 11, 3).isBlack());
    EXPECT_TRUE(dot(data, Top + 5, 11, 5).isBlack());
    // Left and right never wrap into another row.
    EXPECT_TRUE(dot(data, Top + 5, 0, 5).isTransparent());
    EXPECT_TRUE(dot(data, Top + 6, 0, 3).isTransparent());
    EXPECT_EQ(countBlock(data, Top, [](PixelCode c) { return c.isBlack(); }), 4);

    // And the other way: a white dot at column 0 edges the previous character.
    TitleData back = defaults();
    setDot(back, Top + 6, 0, 4, PixelCode::white());
    BlockEdit::edge(back, Top);
    EXPECT_TRUE(dot(back, Top + 5, 11, 4).isBlack());
}

TEST(BlockEdit, EdgingStopsAtTheEndsOfTheBlockAndItsRows)
{
    TitleData data = defaults();
    setDot(data, Top, 0, 0, PixelCode::white());           // k = 0, top-left
    setDot(data, Top + 24, 11, 17, PixelCode::white());    // k = 24, bottom-right
    const TitleData before = data;
    BlockEdit::edge(data, Top);

    EXPECT_TRUE(dot(data, Top, 1, 0).isBlack());
    EXPECT_TRUE(dot(data, Top, 0, 1).isBlack());
    EXPECT_TRUE(dot(data, Top + 24, 10, 17).isBlack());
    EXPECT_TRUE(dot(data, Top + 24, 11, 16).isBlack());
    EXPECT_EQ(countBlock(data, Top, [](PixelCode c) { return c.isBlack(); }), 4);
    // The characters just outside the block are not touched.
    EXPECT_EQ(data.DotData[Top - 1], before.DotData[Top - 1]);
    EXPECT_EQ(data.DotData[Top + 25], before.DotData[Top + 25]);
}

TEST(BlockEdit, EdgingChangesOnlyTransparentNeighboursAndIsIdempotent)
{
    TitleData data = defaults();
    setDot(data, Top + 3, 5, 5, PixelCode::white());
    setDot(data, Top + 3, 6, 5, PixelCode::white());  // a white neighbour stays white
    setDot(data, Top + 3, 5, 4, PixelCode::fromText(u""));  // an empty element is left alone
    setDot(data, Top + 3, 5, 6, PixelCode::black());
    data.DotData[Top + 3][Title::VisibleDots] = PixelCode::transparent();
    setDot(data, Top + 3, 5, 17, PixelCode::white()); // bottom row: no spare dot below
    BlockEdit::edge(data, Top);

    EXPECT_TRUE(dot(data, Top + 3, 5, 5).isWhite());
    EXPECT_TRUE(dot(data, Top + 3, 6, 5).isWhite());
    EXPECT_TRUE(dot(data, Top + 3, 5, 4).isEmpty());
    EXPECT_TRUE(dot(data, Top + 3, 4, 5).isBlack());
    EXPECT_TRUE(dot(data, Top + 3, 7, 5).isBlack());
    EXPECT_TRUE(data.DotData[Top + 3][Title::VisibleDots].isTransparent());
    EXPECT_TRUE(dot(data, Top + 3, 4, 4).isTransparent()); // no diagonals

    const TitleData once = data;
    BlockEdit::edge(data, Top);
    EXPECT_EQ(data.DotData, once.DotData);
}

TEST(BlockEdit, InversionSwapsBlackAndWhiteOnlyAndTwiceRestores)
{
    TitleData data = defaults();
    setDot(data, Top, 0, 0, PixelCode::white());
    setDot(data, Top + 24, 11, 17, PixelCode::black());
    setDot(data, Top + 10, 3, 3, PixelCode::fromText(u"1"));
    data.DotData[Top][Title::VisibleDots] = PixelCode::white();
    const TitleData before = data;

    BlockEdit::invert(data, Top);
    EXPECT_TRUE(dot(data, Top, 0, 0).isBlack());
    EXPECT_TRUE(dot(data, Top + 24, 11, 17).isWhite());
    EXPECT_EQ(dot(data, Top + 10, 3, 3), PixelCode::fromText(u"1"));
    EXPECT_TRUE(data.DotData[Top][Title::VisibleDots].isWhite());
    EXPECT_EQ(countBlock(data, Top, [](PixelCode c) { return c.isTransparent(); }),
              25 * 216 - 3);

    BlockEdit::invert(data, Top);
    EXPECT_EQ(data.DotData, before.DotData);
}
