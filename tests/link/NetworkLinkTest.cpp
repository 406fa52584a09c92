// The engine over a port that keeps its connection and connects in the
// background, as a network serial server is reached: one connection for
// many operations, a reply time-out from the measured path, and nothing
// counted that the unit did not answer.

#include "support/LinkRig.h"
#include "link/LinkMessages.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

const QString Address = QStringLiteral("tcp://10.0.0.5:4001");

// A loaded window whose port is a network serial server `latency` ms away.
struct NetworkRig : LinkRig
{
    explicit NetworkRig(int latency = 10)
    {
        port.network = true;
        device.latency = latency;
        engine->setPortAddress(Address);
    }

    void poll()
    {
        engine->startPolling();
        runUntilEnded();
    }
    void write(std::initializer_list<int> channels)
    {
        selectChannels(channels);
        engine->KakikomiOn();
        runUntilEnded(600000);
    }
};

} // namespace

TEST(NetworkLink, PollsAndWritesShareOneConnection)
{
    NetworkRig rig;
    for (int i = 0; i < 3; ++i)
        rig.poll();
    rig.write({1});
    rig.poll();
    EXPECT_EQ(rig.view.ended, (QList<int>{30, 30, 30, 20, 30}));
    EXPECT_EQ(rig.port.opens, 1);
    EXPECT_EQ(rig.port.closes, 0);
    EXPECT_TRUE(rig.port.isOpen());
    EXPECT_EQ(rig.view.writes.last().completedChannels(), QList<int>{1});

    // The window going closes it.
    rig.engine.reset();
    EXPECT_FALSE(rig.port.isOpen());
}

TEST(NetworkLink, AConnectionThatBrokeIsMadeAgainForTheNextOperation)
{
    NetworkRig rig;
    rig.poll();
    rig.port.vanish();
    rig.port.gone = false;
    rig.poll();
    EXPECT_EQ(rig.port.opens, 2);
    EXPECT_EQ(rig.view.ended, (QList<int>{30, 30}));
    EXPECT_TRUE(rig.view.warnings.isEmpty());
}

TEST(NetworkLink, TheReplyTimeoutIsThePortsAndOnlyFirstCopiesAreMeasured)
{
    // 800 ms each way would time out every frame at the local 500 ms.
    NetworkRig rig(800);
    rig.port.replyTimeoutMs = 2000; // what the connect measured
    rig.engine->selectChannel(4);
    rig.runUntilEnded();
    EXPECT_EQ(rig.takeFrames(), QByteArrayList{"CS5\r"});
    EXPECT_EQ(rig.port.samples, QList<int>{800});
    EXPECT_EQ(rig.engine->retryCount(), 0);

    // A resent frame's reply may answer either copy: no sample from it.
    rig.port.samples.clear();
    rig.device.drop = [](int frame) { return frame == 1; };
    rig.engine->selectChannel(5);
    rig.runUntilEnded();
    EXPECT_EQ(rig.takeFrames(), (QByteArrayList{"CS6\r", "CS6\r"}));
    EXPECT_TRUE(rig.port.samples.isEmpty());
}

TEST(NetworkLink, APathThatGotSlowerIsMeasuredAgain)
{
    // Connected fast, then every reply takes 700 ms: the first frame times
    // out and is resent with a doubled time-out; both its replies come, the
    // second dropped; the next frame, sent once, gives the new round trip.
    NetworkRig rig;
    rig.poll();
    rig.port.samples.clear();
    rig.takeFrames();
    rig.device.latency = 700;
    rig.device.channelReply = QByteArray::fromHex("050d");
    rig.poll();
    EXPECT_EQ(rig.takeFrames(), (QByteArrayList{"CS?\r", "CS?\r", "HP?\r", "VP?\r", "BS01,?\r", "VL\r"}));
    EXPECT_EQ(rig.port.samples, (QList<int>{700, 700, 700, 700}));
    EXPECT_TRUE(rig.view.lit[4]);
    EXPECT_TRUE(rig.view.garbled.isEmpty());
    EXPECT_EQ(rig.engine->retryCount(), 0);
    EXPECT_EQ(rig.port.opens, 1);
}

TEST(NetworkLink, OnlyTimeoutsInARowEndAWrite)
{
    // Five lost replies spread over a long write: a local line gives up at
    // the fifth time-out since loading, a network path only at five in a
    // row.
    const auto spread = [](int frame) { return frame == 3 || frame == 20 || frame == 40 || frame == 60 || frame == 80; };
    NetworkRig rig;
    rig.device.drop = spread;
    rig.write({1, 2});
    EXPECT_EQ(rig.view.writes.last().completedChannels(), (QList<int>{1, 2}));
    EXPECT_TRUE(rig.view.warnings.isEmpty());

    LinkRig local;
    local.device.drop = spread;
    local.selectChannels({1, 2});
    local.engine->KakikomiOn();
    local.runUntilEnded(600000);
    EXPECT_EQ(local.view.unloads, 1);
    EXPECT_EQ(local.view.warnings, QStringList{LinkMessages::timedOut()});
}

TEST(NetworkLink, ASilentPathTimesOutNamingTheAddressAndTheRoundTrip)
{
    NetworkRig rig;
    rig.port.roundTripMs = 120;
    rig.poll();
    rig.device.silent = true;
    rig.engine->selectChannel(1);
    rig.runUntilEnded();
    EXPECT_EQ(rig.view.unloads, 1);
    EXPECT_EQ(rig.view.warnings, QStringList{LinkMessages::networkTimedOut(Address, 120)});
    EXPECT_TRUE(rig.view.warnings.first().contains(QStringLiteral("往復 120 ms")));
}

TEST(NetworkLink, LateBytesAfterAResentFramesReplyAreNotTheNextFramesReply)
{
    // The first "CS?" is answered late: after the resend, the late reply
    // completes the resent frame and the resent frame's own reply follows
    // within a round trip. Counted for "HP?" it would show channel 3's
    // reply bytes as a position.
    NetworkRig rig;
    rig.port.guardMs = 100;
    int frame = 0;
    rig.port.onWrite = [&](const QByteArray &bytes) {
        const int index = frame++;
        QByteArray reply = bytes == "CS?\r" ? QByteArray::fromHex("030d") : QByteArray::fromHex("04000d");
        if (bytes == "VP?\r")
            reply = QByteArray::fromHex("01060d");
        else if (bytes == "BS01,?\r")
            reply = QByteArray::fromHex("02010d");
        else if (bytes == "VL\r")
            reply = QByteArray::fromHex("050a0d");
        rig.clock.schedule(index == 0 ? 520 : 60, [&rig, reply] { rig.port.receive(reply); });
    };
    rig.port.written.clear();
    rig.poll();
    EXPECT_EQ(rig.port.written, (QByteArrayList{"CS?\r", "CS?\r", "HP?\r", "VP?\r", "BS01,?\r", "VL\r"}));
    EXPECT_EQ(rig.view.hpos, 8);
    EXPECT_TRUE(rig.view.garbled.isEmpty());
    EXPECT_EQ(rig.port.opens, 1) << "one late reply is no reason to connect again";
}

TEST(NetworkLink, AServerThatRefusesTheNewConnectionEndsTheWriteHonestly)
{
    // The path dies in the middle of channel 2 with the socket open; the
    // second time-out in a row connects again, and the server, still
    // holding the dead connection, refuses with its own text.
    NetworkRig rig;
    rig.device.drop = [&](int frame) {
        if (frame == 50) {
            rig.device.silent = true;
            rig.device.serverRefusal = QStringLiteral("他の接続が使用中です（Port already in use）");
        }
        return false;
    };
    rig.write({1, 2, 3});
    const QString said = Address + QStringLiteral(" は他の接続が使用中です（Port already in use）");
    ASSERT_EQ(rig.view.warnings.size(), 1);
    EXPECT_TRUE(rig.view.warnings.first().contains(said)) << qPrintable(rig.view.warnings.first());
    EXPECT_EQ(rig.port.opens, 2);
    ASSERT_EQ(rig.view.writes.size(), 1);
    EXPECT_EQ(rig.view.writes.first().completedChannels(), QList<int>{1});
    EXPECT_EQ(rig.view.writes.first().outcome, WriteOutcome::PortFailed);
    EXPECT_FALSE(rig.view.messages.contains(LinkMessages::finished()));
}

TEST(NetworkLink, HidingTheWindowWhileConnectingAbandonsTheConnection)
{
    NetworkRig rig(300);
    rig.engine->selectChannel(2);
    EXPECT_TRUE(rig.port.connecting);
    rig.engine->abandonOperation();
    EXPECT_FALSE(rig.port.connecting);
    rig.clock.advance(20000); // the server's late answer goes nowhere
    EXPECT_TRUE(rig.port.written.isEmpty());
    EXPECT_TRUE(rig.view.warnings.isEmpty());
    EXPECT_EQ(rig.view.unloads, 0);

    // The next operation connects afresh.
    rig.engine->selectChannel(3);
    rig.runUntilEnded();
    EXPECT_EQ(rig.takeFrames(), QByteArrayList{"CS4\r"});
}

TEST(NetworkLink, ConnectingIsBoundedByTheEnginesOwnTimeout)
{
    NetworkRig rig;
    rig.port.onConnect = {}; // the server never answers
    rig.engine->selectChannel(2);
    rig.clock.advance(LinkEngine::OpenTimeout - 1);
    EXPECT_EQ(rig.view.unloads, 0);
    rig.clock.advance(1);
    EXPECT_EQ(rig.view.unloads, 1);
    EXPECT_EQ(rig.view.warnings,
              QStringList{LinkMessages::cannotOpen(Address, OpenFailure::NoAnswer, QString(), true)});
    EXPECT_FALSE(rig.port.connecting);
}

TEST(NetworkLink, AnotherPortChosenWhileConnectingIsTheOneTheFrameGoesTo)
{
    NetworkRig rig(300);
    rig.engine->selectChannel(2);
    const QString other = QStringLiteral("tcp://10.0.0.6:4001");
    rig.engine->closePort();
    rig.engine->setPortAddress(other);
    EXPECT_FALSE(rig.port.connecting);
    rig.runUntilEnded();
    EXPECT_EQ(rig.takeFrames(), QByteArrayList{"CS3\r"});
    EXPECT_EQ(rig.port.devicePath(), other);
    EXPECT_EQ(rig.port.opens, 2);
    EXPECT_TRUE(rig.view.warnings.isEmpty());
}
