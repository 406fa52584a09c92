#include "charedit/CharacterEdits.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

CharPattern patternWith(int dot, PixelCode code)
{
    CharPattern pattern;
    pattern.fill(PixelCode::transparent());
    pattern[dot] = code;
    return pattern;
}

void cycleDot(CharacterEdits &edits, int n)
{
    edits.edit([n](KakudaiGrid &grid) { grid.cycle(n); }, QStringLiteral("dot"));
}

} // namespace

TEST(CharacterEdits, EveryEditIsAStepTakenBackAndRedoneInTurn)
{
    CharacterEdits edits;
    edits.load(patternWith(3, PixelCode::white()));
    EXPECT_FALSE(edits.hasEdits());

    cycleDot(edits, 0); // black
    edits.edit([](KakudaiGrid &grid) { grid.shiftDown(); }, QStringLiteral("down"));
    edits.edit([](KakudaiGrid &grid) { grid.shiftDown(); }, QString());
    ASSERT_EQ(edits.undoStack().count(), 3);
    EXPECT_EQ(edits.grid().colour(24), KakudaiGrid::Black);

    edits.undoStack().undo();
    EXPECT_EQ(edits.grid().colour(12), KakudaiGrid::Black);
    edits.undoStack().undo();
    EXPECT_EQ(edits.grid().colour(0), KakudaiGrid::Black);
    EXPECT_EQ(edits.grid().colour(3), KakudaiGrid::White);
    edits.undoStack().undo();
    EXPECT_FALSE(edits.hasEdits());
    edits.undoStack().redo();
    EXPECT_EQ(edits.grid().colour(0), KakudaiGrid::Black);
    EXPECT_TRUE(edits.hasEdits());
}

TEST(CharacterEdits, AnEditThatChangesNothingIsNoStep)
{
    CharacterEdits edits;
    edits.load(patternWith(0, PixelCode::transparent()));
    edits.edit([](KakudaiGrid &grid) { grid.fill(KakudaiGrid::Transparent); }, QString());
    edits.edit([](KakudaiGrid &grid) { grid.swapBlackWhite(); }, QString());
    EXPECT_EQ(edits.undoStack().count(), 0);
    EXPECT_FALSE(edits.hasEdits());
}

TEST(CharacterEdits, LoadingDropsTheStepsOfTheCharacterBefore)
{
    CharacterEdits edits;
    edits.load(patternWith(0, PixelCode::transparent()));
    cycleDot(edits, 5);
    edits.load(patternWith(0, PixelCode::white()));
    EXPECT_EQ(edits.grid().colour(0), KakudaiGrid::White);
    EXPECT_FALSE(edits.undoStack().canUndo());
    EXPECT_FALSE(edits.hasEdits());
}

TEST(CharacterEdits, NothingLoadedFollowsNothing)
{
    CharacterEdits edits;
    EXPECT_FALSE(edits.storedChanged(patternWith(0, PixelCode::white())));
    EXPECT_FALSE(edits.hasEdits());
    EXPECT_EQ(edits.grid().colour(0), KakudaiGrid::Neutral);
}

namespace {

// The stored pattern of a character changes while it is open, with or
// without the operator's edits (a black dot 0) in the grid.
struct StoreChange
{
    const char *name;
    bool edited;
    CharPattern stored; // the pattern after the change; the character starts with dot 3 white
    bool follows;       // the grid becomes the new pattern
    bool overtaken;     // edits kept over a newer pattern
};

const CharPattern Start = patternWith(3, PixelCode::white());

CharPattern withBlackZero(CharPattern pattern)
{
    pattern[0] = PixelCode::black();
    return pattern;
}

CharPattern spareDotChanged()
{
    CharPattern pattern = Start;
    pattern[230] = PixelCode::black();
    return pattern;
}

void PrintTo(const StoreChange &change, std::ostream *os)
{
    *os << change.name;
}

class CharacterEditsStoreChange : public ::testing::TestWithParam<StoreChange>
{
};

const StoreChange StoreChanges[] = {
    {"UneditedFollows", false, patternWith(3, PixelCode::black()), true, false},
    {"EditedKeepsItsEdits", true, patternWith(3, PixelCode::black()), false, true},
    // The operator's own "保存": the store caught up with the grid.
    {"EditedSavedAsShown", true, withBlackZero(Start), false, false},
    // Dots the grid does not show are no change of what it shows.
    {"SpareDotsOnly", true, spareDotChanged(), false, false},
};

} // namespace

TEST_P(CharacterEditsStoreChange, GridFollowsOnlyWithoutEditsOfItsOwn)
{
    const StoreChange &change = GetParam();
    CharacterEdits edits;
    edits.load(Start);
    if (change.edited)
        cycleDot(edits, 0);
    const KakudaiGrid before = edits.grid();

    EXPECT_EQ(edits.storedChanged(change.stored), change.follows);
    KakudaiGrid stored;
    stored.load(change.stored);
    EXPECT_EQ(edits.grid(), change.follows ? stored : before);
    EXPECT_EQ(edits.overtaken(), change.overtaken);
    // What is shown now compares with the new store.
    EXPECT_EQ(edits.hasEdits(), edits.grid() != stored);
    if (change.follows) {
        EXPECT_FALSE(edits.undoStack().canUndo());
    }
}

INSTANTIATE_TEST_SUITE_P(Each, CharacterEditsStoreChange, ::testing::ValuesIn(StoreChanges),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(CharacterEdits, RevertIsAStepAndTheEditsStayOvertakenWhenBroughtBack)
{
    CharacterEdits edits;
    edits.load(Start);
    cycleDot(edits, 0);
    edits.storedChanged(patternWith(3, PixelCode::black()));
    ASSERT_TRUE(edits.overtaken());

    edits.revert(QStringLiteral("キャンセル"));
    EXPECT_FALSE(edits.hasEdits());
    EXPECT_FALSE(edits.overtaken());
    EXPECT_EQ(edits.grid().colour(3), KakudaiGrid::Black);

    edits.undoStack().undo();
    EXPECT_EQ(edits.grid().colour(0), KakudaiGrid::Black);
    EXPECT_TRUE(edits.overtaken());

    // Walked back to the stored pattern dot by dot, new edits are edits of
    // that pattern.
    cycleDot(edits, 0); // white
    cycleDot(edits, 0); // transparent
    cycleDot(edits, 3); // transparent
    cycleDot(edits, 3); // black, as stored
    EXPECT_FALSE(edits.hasEdits());
    cycleDot(edits, 9);
    EXPECT_TRUE(edits.hasEdits());
    EXPECT_FALSE(edits.overtaken());
}
