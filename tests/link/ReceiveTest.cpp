#include "support/LinkRig.h"
#include "link/LinkMessages.h"
#include "link/ReplyDecoder.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

namespace {

void runPoll(LinkRig &rig)
{
    rig.engine->startPolling();
    rig.clock.advance(2000 + 5 * 10 + 1);
}

} // namespace

TEST(Receive, ReplyArrivingByteByByteCompletesOnItsLastByte)
{
    LinkRig rig;
    rig.device.silent = true;
    rig.engine->selectChannel(4);
    EXPECT_EQ(rig.takeFrames(), QByteArrayList{"CS5\r"});
    rig.port.receive("\x06");
    EXPECT_FALSE(rig.engine->isIdle());
    EXPECT_TRUE(rig.rxTimer.isEnabled());
    rig.port.receive("\r");
    EXPECT_TRUE(rig.engine->isIdle());
    EXPECT_EQ(rig.view.ended, QList<int>{14});

    // A three-byte query is not complete after two bytes.
    rig.device.silent = false;
    rig.device.oneBytePerEvent = true;
    runPoll(rig);
    EXPECT_EQ(rig.view.hpos, 8);
    EXPECT_EQ(rig.view.ended.size(), 2);
}

TEST(Receive, PollDecodesEveryReply)
{
    LinkRig rig;
    runPoll(rig);
    EXPECT_EQ(rig.takeFrames(), (QByteArrayList{"CS?\r", "HP?\r", "VP?\r", "BS01,?\r", "VL\r"}));
    EXPECT_EQ(rig.view.ended, QList<int>{30});
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_TRUE(rig.view.lit[2]);
    EXPECT_EQ(rig.view.hpos, 8);
    EXPECT_EQ(rig.view.vpos, 0);
    EXPECT_EQ(rig.view.white, 2);
    EXPECT_EQ(rig.view.black, 1);
    EXPECT_EQ(rig.view.videoLoss, (std::array<bool, 8>{false, true, false, true, true, false, true, false}));

    // Channel digits 0 and 9 name no button; a digit above 3 names no level.
    rig.device.channelReply = QByteArray::fromHex("000d");
    rig.device.levelReply = QByteArray::fromHex("05030d");
    rig.device.hposReply = QByteArray::fromHex("02000d");
    rig.clock.advance(2000 + 60);
    EXPECT_TRUE(rig.view.lit[2]);
    EXPECT_EQ(rig.view.white, 2);
    EXPECT_EQ(rig.view.black, 3);
    EXPECT_EQ(rig.view.hpos, -12);
    rig.device.channelReply = QByteArray::fromHex("090d");
    rig.clock.advance(2000 + 60);
    EXPECT_EQ(rig.view.lit, (std::array<bool, 8>{false, false, true, false, false, false, false, false}));
    EXPECT_EQ(rig.view.garbled, (QList<Cmd>{Cmd::QueryChannel, Cmd::QueryLevels, Cmd::QueryChannel, Cmd::QueryLevels}));
}

TEST(Receive, StatusRepliesTheDeviceCannotGiveAreGarbled)
{
    // Bytes 1 and 2 of each reply, and what the operator is shown for
    // them; nothing means garbled. A position is any two decimal digits,
    // whatever travel our own simulator allows.
    const struct
    {
        const char *hex;
        std::optional<int> channel, hpos, vpos, black, white, videoLoss;
    } cases[] = {
        {"030d", 3, {}, {}, {}, 3, 0x3d},
        {"0400", 4, 8, -24, 0, {}, 0x40},
        {"0106", 1, -16, 0, {}, 1, 0x16},
        {"0603", 6, 31, -47, 3, {}, 0x63},
        {"0000", {}, -32, 16, 0, 0, 0x00},
        {"0301", 3, -1, -15, 1, 3, 0x31},
        {"0302", 3, 0, -16, 2, 3, 0x32},
        {"0700", 7, 38, -54, 0, {}, 0x70}, // a real unit's 70
        {"0900", {}, 58, -74, 0, {}, 0x90},
        {"0909", {}, 67, -83, {}, {}, 0x99}, // 99, the most two digits carry
        {"060d", 6, {}, {}, {}, {}, 0x6d}, // an acknowledgement read as a status reply
        {"0a00", {}, {}, {}, 0, {}, 0xa0}, // a digit byte above 9
        {"130a", {}, {}, {}, {}, {}, {}}, // high digits are never set
        {"0f0f", {}, {}, {}, {}, {}, 0xff},
    };
    for (const auto &c : cases) {
        const QString hex = QString::fromLatin1(c.hex) + QStringLiteral("0d");
        EXPECT_EQ(ReplyDecoder::channel(hex), c.channel) << c.hex;
        EXPECT_EQ(ReplyDecoder::horizontalPosition(hex), c.hpos) << c.hex;
        EXPECT_EQ(ReplyDecoder::verticalPosition(hex), c.vpos) << c.hex;
        EXPECT_EQ(ReplyDecoder::levels(hex).black, c.black) << c.hex;
        EXPECT_EQ(ReplyDecoder::levels(hex).white, c.white) << c.hex;
        EXPECT_EQ(ReplyDecoder::videoLossMask(hex), c.videoLoss) << c.hex;
    }
}

TEST(Receive, APositionBeyondTheSimulatorsTravelIsShownNotGarbled)
{
    LinkRig rig;
    rig.device.hposReply = QByteArray::fromHex("07000d"); // 70
    rig.device.vposReply = QByteArray::fromHex("04050d"); // 45
    runPoll(rig);
    EXPECT_EQ(rig.view.hpos, 38);
    EXPECT_EQ(rig.view.vpos, -29);
    EXPECT_TRUE(rig.view.garbled.isEmpty());
}

TEST(Receive, AGarbledPositionLeavesTheLastGoodOneShown)
{
    LinkRig rig;
    runPoll(rig);
    ASSERT_EQ(rig.view.vpos, 0);
    rig.device.vposReply = QByteArray::fromHex("030a0d"); // a digit byte of 10
    rig.device.hposReply = QByteArray::fromHex("0b000d");
    rig.clock.advance(2000 + 60);
    EXPECT_EQ(rig.view.vpos, 0);
    EXPECT_EQ(rig.view.hpos, 8);
    EXPECT_EQ(rig.view.garbled, (QList<Cmd>{Cmd::QueryHorizontal, Cmd::QueryVertical}));
    EXPECT_EQ(rig.view.ended, (QList<int>{30, 30})) << "the poll goes on";
}

TEST(Receive, ALateReplyWaitingWhenTheFrameIsResentIsDiscarded)
{
    LinkRig rig;
    rig.device.drop = [](int frame) { return frame == 1; }; // "HP?" times out
    rig.engine->startPolling();
    rig.clock.advance(2000 + 20);
    // The lost reply turns up in the driver just as the port is opened
    // again for the resend; the resend's own reply follows it.
    bool arrived = false;
    rig.pump.onPump = [&] {
        if (!std::exchange(arrived, true))
            rig.port.arriveUnread(QByteArray::fromHex("06"));
    };
    rig.clock.advance(500 + 5 * 10);
    EXPECT_EQ(rig.view.ended, QList<int>{30});
    EXPECT_EQ(rig.view.hpos, 8);
    EXPECT_EQ(rig.view.vpos, 0);
    EXPECT_TRUE(rig.view.garbled.isEmpty());
    EXPECT_EQ(rig.port.discards, rig.device.frames) << "before every frame";
}

TEST(Receive, LevelsAreNotOverwrittenWhileTheOperatorChooses)
{
    LinkRig rig;
    rig.engine->setLevelListFocus(true);
    runPoll(rig);
    EXPECT_EQ(rig.view.white, -1);
    rig.engine->setLevelListFocus(false);
    rig.clock.advance(2000 + 60);
    EXPECT_EQ(rig.view.white, 2);
}

TEST(Receive, SilentDeviceIsResentFourTimesThenGivenUp)
{
    LinkRig rig;
    rig.device.silent = true;
    rig.engine->selectChannel(0);
    rig.view.lit[0] = true;
    rig.clock.advance(2499);
    EXPECT_EQ(rig.port.written, QByteArrayList(5, "CS1\r"));
    EXPECT_TRUE(rig.view.warnings.isEmpty());
    EXPECT_EQ(rig.port.closes, 4);
    rig.clock.advance(1);
    EXPECT_EQ(rig.view.warnings, QStringList{LinkMessages::timedOut()});
    EXPECT_EQ(rig.view.warnings.first(),
              QStringLiteral("通信がタイムアウトしました。\r\n本体の電源、ケーブル、通信ポートを確認して下さい。"));
    EXPECT_EQ(rig.view.unloads, 1);
    EXPECT_FALSE(rig.view.lit[0]);
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_FALSE(rig.chReqTimer.isEnabled());
    EXPECT_EQ(rig.engine->retryCount(), 0);
}

TEST(Receive, TimeOutLimitCountsAcrossGoodReplies)
{
    LinkRig rig;
    rig.selectChannels({1});
    rig.device.drop = [](int frame) { return frame % 3 == 0; }; // every third reply is lost
    rig.engine->KakikomiOn();
    rig.clock.advance(60000);
    // Frames 0, 3, 6, 9 time out and are resent; frame 12 is the fifth.
    EXPECT_EQ(rig.device.frames, 13);
    EXPECT_EQ(rig.view.warnings, QStringList{LinkMessages::timedOut()});
    EXPECT_EQ(rig.view.unloads, 1);
}

TEST(Receive, PartOfAReplyBeforeATimeOutDoesNotShiftTheResentOnesReply)
{
    // The port closes at the time-out, so the rest of that reply never
    // comes; its first byte must not be read as the resent frame's.
    LinkRig rig;
    rig.device.drop = [](int frame) { return frame == 1; }; // "HP?"
    rig.engine->startPolling();
    rig.clock.advance(2000 + 20);
    rig.port.receive("\x04");
    rig.clock.advance(500 + 5 * 10);
    EXPECT_EQ(rig.device.frames, 6);
    EXPECT_EQ(rig.view.ended, QList<int>{30});
    EXPECT_EQ(rig.view.hpos, 8);
    EXPECT_EQ(rig.view.vpos, 0);
    EXPECT_EQ(rig.view.videoLoss, (std::array<bool, 8>{false, true, false, true, true, false, true, false}));
}

TEST(Receive, DroppedReplyIsResentWithTheSameFrame)
{
    LinkRig rig;
    rig.selectChannels({1});
    rig.device.drop = [](int frame) { return frame == 20; };
    rig.engine->KakikomiOn();
    rig.runUntilEnded();
    const QByteArrayList frames = rig.port.written;
    ASSERT_EQ(frames.size(), 44);
    EXPECT_EQ(frames[20], frames[21]);
    EXPECT_EQ(rig.engine->retryCount(), 1);
    EXPECT_TRUE(rig.view.warnings.isEmpty());
}

TEST(Receive, PortThatCannotBeOpenedUnloadsTheWindow)
{
    LinkRig rig;
    rig.port.failOpens = 1;
    rig.engine->selectChannel(0);
    EXPECT_EQ(rig.view.warnings,
              QStringList{QStringLiteral("通信ポートを開けません。\r\nシリアルポートを確認して下さい。\r\n"
                                         "/dev/ttyS0 が見つかりません（No such file or directory）。")});
    EXPECT_EQ(rig.data.ComNo, 1) << "the port is forgotten by whoever chose it";
    EXPECT_EQ(rig.view.unloads, 1);
    EXPECT_TRUE(rig.port.written.isEmpty());
}

TEST(Receive, FailedReopenOnResendIsHandledLikeAFailedOpen)
{
    LinkRig rig;
    rig.device.silent = true;
    rig.engine->selectChannel(0);
    rig.port.failOpens = 1;
    rig.clock.advance(500);
    EXPECT_EQ(rig.view.warnings, QStringList{LinkMessages::cannotOpen(QStringLiteral("/dev/ttyS0"), OpenFailure::Missing,
                                                                      QStringLiteral("No such file or directory"))});
    EXPECT_EQ(rig.data.ComNo, 1) << "the port is forgotten by whoever chose it";
    EXPECT_EQ(rig.view.unloads, 1);
    EXPECT_FALSE(rig.rxTimer.isEnabled());
    rig.clock.advance(5000);
    EXPECT_EQ(rig.port.written.size(), 1);
}

TEST(Receive, BytesNobodyWaitsForAreDropped)
{
    LinkRig rig;
    // A stale reply that turns up while the send lets events run.
    rig.pump.onPump = [&] { rig.port.receive(QByteArray::fromHex("060d")); };
    rig.engine->selectChannel(0);
    EXPECT_FALSE(rig.engine->isIdle());
    EXPECT_TRUE(rig.rxTimer.isEnabled());
    rig.pump.onPump = nullptr;
    rig.clock.advance(10);
    EXPECT_EQ(rig.view.ended, QList<int>{14});

    // Extra bytes in the same read complete the reply and are discarded.
    rig.device.channelReply = QByteArray::fromHex("030d0d0d");
    rig.clock.advance(2000 + 60);
    EXPECT_EQ(rig.view.hpos, 8);
    EXPECT_EQ(rig.view.ended, (QList<int>{14, 30}));
}

TEST(Receive, LineEventsRaiseTheirMessages)
{
    LinkRig rig;
    const std::pair<CommEvent, const char *> errors[] = {
        {CommEvent::Break, "中断信号受信"},
        {CommEvent::Framing, "フレームエラー"},
        {CommEvent::Overrun, "オーバーランエラー"},
        {CommEvent::ReceiveOverflow, "受信バッファオーバー"},
        {CommEvent::ReceiveParity, "受信パリティエラー"},
        {CommEvent::TransmitFull, "送信バッファフル"},
        {CommEvent::ConfigUnreadable, "DCB取得エラー"},
        {CommEvent::Unknown, "未定義エラー発生"},
    };
    for (const auto &[event, text] : errors) {
        rig.view.warnings.clear();
        rig.port.raise(event);
        EXPECT_EQ(rig.view.warnings, QStringList{QString::fromUtf8(text)});
    }
    rig.view.warnings.clear();
    for (CommEvent quiet : {CommEvent::SendBelowThreshold, CommEvent::CtsChanged, CommEvent::DsrChanged,
                            CommEvent::CarrierChanged, CommEvent::Ring, CommEvent::EndOfFile})
        rig.port.raise(quiet);
    EXPECT_TRUE(rig.view.warnings.isEmpty());
}

TEST(Receive, AnOperationAbandonedWhileThePortConnectsSendsNothingAndReportsNothing)
{
    // The window is hidden while a network port is still connecting; the
    // connection may then succeed or fail, and neither is news to anyone.
    for (const int failOpens : {0, 1}) {
        LinkRig rig;
        rig.port.failOpens = failOpens;
        rig.port.onOpen = [&] { rig.engine->abandonOperation(); };
        rig.engine->selectChannel(2);
        EXPECT_TRUE(rig.view.warnings.isEmpty()) << failOpens;
        EXPECT_EQ(rig.view.unloads, 0) << failOpens;
        EXPECT_TRUE(rig.port.written.isEmpty()) << failOpens;
        EXPECT_FALSE(rig.port.isOpen()) << failOpens;
        EXPECT_TRUE(rig.engine->isIdle()) << failOpens;
        EXPECT_EQ(rig.data.ComNo, 1) << failOpens;

        // The next operation goes out normally.
        rig.port.onOpen = {};
        rig.engine->selectChannel(4);
        rig.runUntilEnded();
        EXPECT_EQ(rig.takeFrames(), QByteArrayList{"CS5\r"}) << failOpens;
    }
}

TEST(Receive, ClicksWhileThePortConnectsAreIgnoredAsDuringAnyExchange)
{
    LinkRig rig;
    rig.port.onOpen = [&] {
        rig.port.onOpen = {};
        rig.engine->selectChannel(6);
        rig.engine->moveOverlay(OverlayDirection::Up);
        rig.engine->handlePollTick();
    };
    rig.engine->selectChannel(2);
    rig.runUntilEnded();
    EXPECT_EQ(rig.takeFrames(), QByteArrayList{"CS3\r"});
    EXPECT_TRUE(rig.view.warnings.isEmpty());
}
