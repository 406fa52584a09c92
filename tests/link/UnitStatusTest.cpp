// The one JSON form of a unit's status: scripts read its line, a far side
// sends its object back.

#include "link/UnitStatus.h"

#include <QJsonArray>

#include <gtest/gtest.h>

TEST(UnitStatusTest, JsonLineAndItsReadingBack)
{
    UnitStatus known;
    known.channel = 2;
    known.hpos = 8;
    known.vpos = -3;
    known.black = 1;
    known.white = 2;
    for (int input : {1, 3, 4, 6})
        known.showVideoLoss(input, true);
    UnitStatus noVideoLost;
    noVideoLost.showVideoLoss(0, false);

    const struct
    {
        UnitStatus status;
        const char *line;
    } cases[] = {
        {known, R"({"channel": 3, "hpos": 8, "vpos": -3, "black": "10%", "white": "90%", "video_loss": [2, 4, 5, 7]})"},
        {UnitStatus(), R"({"channel": null, "hpos": null, "vpos": null, "black": null, "white": null, "video_loss": null})"},
        {noVideoLost, R"({"channel": null, "hpos": null, "vpos": null, "black": null, "white": null, "video_loss": []})"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.status.json().toStdString(), c.line);
        EXPECT_EQ(UnitStatus::fromJson(c.status.jsonObject()), c.status) << c.line;
    }
    // Out of range is unknown, never a value.
    const UnitStatus odd = UnitStatus::fromJson(
        {{"channel", 9}, {"black", "15%"}, {"white", "100%"}, {"hpos", "8"}, {"video_loss", QJsonArray{0, 9, 3}}});
    EXPECT_EQ(odd.channel, -1);
    EXPECT_EQ(odd.black, -1);
    EXPECT_EQ(odd.white, 1);
    EXPECT_FALSE(odd.hpos);
    EXPECT_EQ(odd.lostInputs(), QList<int>{3});
}
