#include "support/LinkRig.h"
#include "link/LinkMessages.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>


TEST(BulkWrite, OneChannelSendsFortyThreeFramesInOrder)
{
    LinkRig rig;
    rig.selectChannels({3});
    rig.data.DispData(0, 0, 2) = 51;
    rig.data.DispData(12 * 30 + 29, 0, 2) = 75;
    rig.data.DotData[0].fill(PixelCode::black());
    rig.data.DotData[51].fill(PixelCode::white());

    rig.engine->KakikomiOn();
    rig.runUntilEnded();

    const QByteArrayList frames = rig.takeFrames();
    ASSERT_EQ(frames.size(), 43);
    EXPECT_EQ(frames[0], "CS3\r");
    EXPECT_EQ(frames[1], "OS0\r");
    for (int row = 0; row < 13; ++row) {
        const QByteArray header = "@WD,P00,L" + QByteArray::number(row).rightJustified(2, '0') + ',';
        EXPECT_TRUE(frames[2 + row].startsWith(header)) << row;
    }
    EXPECT_EQ(quint8(frames[2].at(12)), 1);
    EXPECT_EQ(quint8(frames[14].at(12 + 29)), 25);
    for (int slot = 0; slot < 26; ++slot) {
        const QByteArray header = "@WC,P" + QByteArray::number(slot, 16).toUpper().rightJustified(2, '0') + ',';
        EXPECT_TRUE(frames[15 + slot].startsWith(header)) << slot;
    }
    EXPECT_EQ(frames[15].mid(8, 54), QByteArray(54, '\0'));   // slot 0: the shared blank
    EXPECT_EQ(frames[16].mid(8, 54), QByteArray(54, '\xAA')); // slot 1: code 51
    EXPECT_EQ(frames[41], "OS1\r");
    EXPECT_EQ(frames[42], "PS1\r");

    EXPECT_EQ(rig.view.messages,
              QStringList({LinkMessages::screenSending(3), LinkMessages::characterSending(3),
                           LinkMessages::finished()}));
    EXPECT_EQ(rig.view.messages[0], QStringLiteral("チャンネル3画面データ送信中です…暫くお待ち下さい。"));
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_TRUE(rig.engine->isIdle());
    EXPECT_TRUE(rig.chReqTimer.isEnabled());
    EXPECT_EQ(rig.chReqTimer.interval(), 200);
}

TEST(BulkWrite, SkipsUnchosenChannels)
{
    LinkRig rig;
    rig.selectChannels({});
    rig.engine->KakikomiOn();
    EXPECT_TRUE(rig.port.written.isEmpty());
    EXPECT_EQ(rig.view.messages, QStringList{LinkMessages::finished()});
    EXPECT_EQ(rig.port.opens, 0);

    rig.selectChannels({8});
    rig.engine->KakikomiOn();
    rig.runUntilEnded();
    QByteArrayList frames = rig.takeFrames();
    ASSERT_EQ(frames.size(), 43);
    EXPECT_EQ(frames.first(), "CS8\r");

    rig.selectChannels({2, 5});
    rig.engine->KakikomiOn();
    rig.runUntilEnded();
    frames = rig.takeFrames();
    ASSERT_EQ(frames.size(), 86);
    EXPECT_EQ(frames[0], "CS2\r");
    EXPECT_EQ(frames[42], "PS1\r");
    EXPECT_EQ(frames[43], "CS5\r");
    EXPECT_EQ(frames[45].left(12), "@WD,P00,L00,");

    rig.selectChannels({1});
    rig.engine->KakikomiOn();
    rig.runUntilEnded();
    EXPECT_EQ(rig.takeFrames().size(), 43);
}

TEST(BulkWrite, MeterFollowsEachStep)
{
    LinkRig rig;
    rig.selectChannels({1});
    rig.engine->KakikomiOn();
    rig.runUntilEnded();

    QStringList expected{"0%", "0%"}; // CS, OS0
    for (int p : {0, 23, 23, 38, 38, 54, 54, 69, 69, 85, 85, 100, 100})
        expected << QStringLiteral("%1%").arg(p);
    for (int p : {0, 12, 12, 20, 20, 28, 28, 36, 36, 44, 44, 52, 52, 60, 60, 68, 68, 76, 76, 84, 84, 92, 92,
                  100, 100, 100})
        expected << QStringLiteral("%1%").arg(p);
    expected << "0%" << "0%"; // OS1, PS1
    EXPECT_EQ(rig.view.meters, expected);

    rig.view.meters.clear();
    rig.engine->setLevels(0, 2);
    rig.runUntilEnded();
    QStringList levels;
    for (int p : {0, 25, 25, 42, 42, 58, 58, 75, 75, 92, 92, 100, 100})
        levels << QStringLiteral("%1%").arg(p);
    EXPECT_EQ(rig.view.meters, levels);
}

TEST(BulkWrite, MeterReadingFormat)
{
    // How the window draws a reading: tests/linkui/ProgressMeterTest.cpp.
    EXPECT_EQ(LinkEngine::MeterOn(26, 25).percent(), 100);
    EXPECT_EQ(LinkEngine::MeterOn(26, 25).progress(), 108) << "the line may grow past 100 %";
    EXPECT_EQ(LinkEngine::MeterOn(0, 13).progress(), 0);
}

TEST(BulkWrite, RefusesCodesOfALowerChannelAndSendsNothing)
{
    LinkRig rig;
    rig.selectChannels({1, 3});
    rig.data.DispData(4 * 30 + 6, 0, 2) = 30; // row 5, column 7 of channel 3
    rig.engine->KakikomiOn();
    rig.clock.advance(5000);
    EXPECT_TRUE(rig.port.written.isEmpty());
    ASSERT_EQ(rig.view.warnings.size(), 1);
    const QString warning = rig.view.warnings.first();
    EXPECT_TRUE(warning.contains(QStringLiteral("チャンネル3")));
    EXPECT_TRUE(warning.contains(QStringLiteral("5行7列")));
    EXPECT_TRUE(warning.contains(QStringLiteral("30")));
    EXPECT_TRUE(rig.engine->isIdle());
}

TEST(BulkWrite, WaitsForAPollInProgress)
{
    LinkRig rig;
    rig.selectChannels({4});
    rig.engine->startPolling();
    rig.clock.advance(2000); // the poll's first frame is out
    ASSERT_EQ(rig.port.written, QByteArrayList{"CS?\r"});
    rig.engine->KakikomiOn();
    EXPECT_TRUE(rig.engine->writePending());
    rig.runUntilEnded(); // the poll
    rig.runUntilEnded(); // the write
    const QByteArrayList frames = rig.takeFrames();
    ASSERT_EQ(frames.size(), 5 + 43);
    EXPECT_EQ(frames[4], "VL\r");
    EXPECT_EQ(frames[5], "CS4\r");
    EXPECT_FALSE(rig.engine->writePending());
    EXPECT_EQ(rig.view.ended, (QList<int>{30, 20}));
}

TEST(BulkWrite, LineErrorDoesNotStopTheWrite)
{
    LinkRig rig;
    rig.selectChannels({2});
    rig.engine->KakikomiOn();
    rig.clock.advance(100);
    rig.port.raise(CommEvent::Framing);
    rig.runUntilEnded();
    EXPECT_EQ(rig.view.warnings, QStringList{QStringLiteral("フレームエラー")});
    EXPECT_EQ(rig.view.warningTitles, QStringList{QStringLiteral("通信エラー")});
    EXPECT_EQ(rig.takeFrames().size(), 43);
}

TEST(BulkWrite, HiddenWindowRunsNothingAndHidingAbandons)
{
    LinkRig rig;
    rig.selectChannels({1});
    rig.view.visible = false;
    rig.engine->KakikomiOn();
    EXPECT_TRUE(rig.port.written.isEmpty());

    rig.view.visible = true;
    rig.engine->KakikomiOn();
    rig.clock.advance(55);
    rig.view.visible = false;
    rig.engine->abandonOperation();
    const auto sent = rig.port.written.size();
    rig.clock.advance(10000);
    EXPECT_EQ(rig.port.written.size(), sent);
    EXPECT_TRUE(rig.engine->isIdle());
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_FALSE(rig.rxTimer.isEnabled());
    EXPECT_FALSE(rig.chReqTimer.isEnabled());

    // Shown again, the poll starts afresh from its first step.
    rig.view.visible = true;
    rig.takeFrames();
    rig.engine->startPolling();
    rig.clock.advance(rig.chReqTimer.interval());
    EXPECT_EQ(rig.port.written, QByteArrayList{"CS?\r"});
}

TEST(Sequencer, LevelChangeSendsThirteenRowsAndMovesFocus)
{
    LinkRig rig;
    rig.engine->setLevels(1, 2);
    rig.runUntilEnded();
    const QByteArrayList frames = rig.takeFrames();
    ASSERT_EQ(frames.size(), 13);
    EXPECT_EQ(frames.first(), "BS01,12\r");
    EXPECT_EQ(frames.last(), "BS13,12\r");
    EXPECT_EQ(rig.view.focusMoves, 1);

    rig.engine->selectChannel(4);
    rig.engine->setLevels(0, 0); // busy: dropped, the focus still moves
    rig.engine->moveOverlay(OverlayDirection::Down);
    rig.runUntilEnded();
    EXPECT_EQ(rig.takeFrames(), QByteArrayList{"CS5\r"});
    EXPECT_EQ(rig.view.focusMoves, 2);
}

TEST(Sequencer, PollComesSoonAfterAnOperationAndSlowlyAfterAPoll)
{
    LinkRig rig;
    rig.engine->moveOverlay(OverlayDirection::Right);
    rig.runUntilEnded();
    EXPECT_EQ(rig.takeFrames(), QByteArrayList{"HP+\r"});
    rig.clock.advance(199);
    EXPECT_TRUE(rig.port.written.isEmpty());
    rig.clock.advance(1);
    EXPECT_EQ(rig.port.written, QByteArrayList{"CS?\r"});
    rig.runUntilEnded();
    EXPECT_EQ(rig.takeFrames().size(), 5);
    EXPECT_FALSE(rig.port.isOpen());
    rig.clock.advance(1999);
    EXPECT_TRUE(rig.port.written.isEmpty());
    rig.clock.advance(1);
    EXPECT_EQ(rig.port.written, QByteArrayList{"CS?\r"});
}
