// What the engine reports about each bulk write: the channels asked and
// completed, the hashes of the completed channels' frames, and how the
// write ended; and a write resumed from that report.

#include "support/LinkRig.h"
#include "link/history/ChannelFrames.h"
#include "support/QtPrinters.h"

#include <QCryptographicHash>

#include <gtest/gtest.h>

namespace {

// A title in which every channel has its own page and characters.
void fillTitle(TitleData &data)
{
    const PixelCode dots[] = {PixelCode::black(), PixelCode::white(), PixelCode::transparent()};
    for (int code = 0; code < Title::CodeCount; ++code)
        for (int dot = 0; dot < Title::DotsPerCode; ++dot)
            data.DotData[code][dot] = dots[(code * 5 + dot * (code % 7 + 1)) % 3];
    for (int page = 0; page < Title::Channels; ++page)
        for (int cell = 0; cell < Title::Cells; ++cell)
            data.DispData(cell, 0, page) = quint8((cell + page) % 26 == 0 ? 0 : 25 * page + (cell + page) % 26);
}

// The frames of channel `ch` (0..7) written out from the device's manual,
// without the link's own frame code.
QByteArray expectedChannelBytes(const TitleData &data, int ch)
{
    QByteArray bytes = "CS" + QByteArray::number(ch + 1) + "\rOS0\r";
    for (int row = 0; row < 13; ++row) {
        bytes += QStringLiteral("@WD,P00,L%1,").arg(row, 2, 10, QLatin1Char('0')).toLatin1();
        for (int col = 0; col < 30; ++col) {
            const int code = data.DispData(row * 30 + col, 0, ch);
            bytes += char(code == 0 ? 0 : code - 25 * ch);
        }
        bytes += '\r';
    }
    for (int slot = 0; slot < 26; ++slot) {
        bytes += QStringLiteral("@WC,P%1,").arg(slot, 2, 16, QLatin1Char('0')).toUpper().toLatin1();
        const CharPattern &pattern = data.DotData[slot == 0 ? 0 : 25 * ch + slot];
        for (int n = 0; n < 54; ++n) {
            int byte = 0;
            for (int i = 0; i < 4; ++i) {
                const PixelCode dot = pattern[4 * n + i];
                byte = byte << 2 | (dot.isBlack() ? 0 : dot.isWhite() ? 2 : 1);
            }
            bytes += char(byte);
        }
        bytes += '\r';
    }
    return bytes + "OS1\rPS1\r";
}

QByteArray sha256(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

struct RecordRig : LinkRig
{
    RecordRig() { fillTitle(data); }

    // Frames of the channels 1..5 (index 0..4) that pass before the device
    // goes away inside channel 3: 2 x 43 + 10.
    static constexpr int FramesBeforeTheCut = 2 * ChannelFrames::PerChannel + 10;
};

} // namespace

TEST(BulkWriteRecord, HashesAreThoseOfTheFramesAsSentOnceEach)
{
    RecordRig rig;
    rig.selectChannels({2, 7});
    // Lost replies make the engine send frames again: not counted twice.
    rig.device.drop = [](int frame) { return frame == 3 || frame == 50 || frame == 51; };
    rig.engine->KakikomiOn();
    rig.runUntilEnded();

    ASSERT_EQ(rig.view.writes.size(), 1);
    const TransferRecord &report = rig.view.writes.first();
    EXPECT_EQ(report.outcome, WriteOutcome::Done);
    EXPECT_EQ(report.askedChannels(), QList<int>({2, 7}));
    EXPECT_EQ(report.completedChannels(), QList<int>({2, 7}));
    EXPECT_EQ(report.port, QStringLiteral("/dev/ttyS0"));
    for (int ch : {1, 6}) {
        EXPECT_EQ(report.sha256[ch], sha256(expectedChannelBytes(rig.data, ch))) << ch;
        EXPECT_EQ(ChannelFrames::sha256(rig.data, ch), report.sha256[ch]) << ch;
        EXPECT_EQ(ChannelFrames::build(rig.data, ch).join(), expectedChannelBytes(rig.data, ch)) << ch;
    }
    for (int ch : {0, 2, 3, 4, 5, 7})
        EXPECT_TRUE(report.sha256[ch].isEmpty()) << ch;
    EXPECT_EQ(rig.engine->lastBulkWrite()->completed, report.completed);
}

TEST(BulkWriteRecord, ADeviceGoneDuringChannelThreeLeavesOneAndTwoCompleteAndTheResumeSendsTheRest)
{
    RecordRig rig;
    rig.selectChannels({1, 2, 3, 4, 5});
    rig.device.drop = [&rig](int frame) {
        if (frame == RecordRig::FramesBeforeTheCut)
            rig.port.vanish();
        return frame >= RecordRig::FramesBeforeTheCut;
    };
    rig.engine->KakikomiOn();
    rig.runUntilEnded();

    ASSERT_EQ(rig.view.writes.size(), 1);
    const TransferRecord report = rig.view.writes.first();
    EXPECT_EQ(report.outcome, WriteOutcome::PortFailed);
    EXPECT_EQ(report.completedChannels(), QList<int>({1, 2}));
    EXPECT_EQ(report.unfinishedChannels(), QList<int>({3, 4, 5}));
    EXPECT_EQ(TransferRecord::channelList(report.unfinishedChannels()), QStringLiteral("3,4,5"));
    EXPECT_EQ(rig.view.warningsBeforeReport.first(), 0); // reported before the message
    EXPECT_EQ(rig.view.unloads, 1);

    // The window is loaded afresh on a device that is back; the operator
    // sends what did not complete.
    RecordRig resumed;
    resumed.selectChannels({});
    for (int ch : report.unfinishedChannels())
        resumed.data.KakikomiCh[ch - 1] = true;
    resumed.engine->KakikomiOn();
    resumed.runUntilEnded();
    const QByteArrayList frames = resumed.takeFrames();
    ASSERT_EQ(frames.size(), 3 * ChannelFrames::PerChannel);
    EXPECT_EQ(frames.join(), expectedChannelBytes(resumed.data, 2) + expectedChannelBytes(resumed.data, 3)
                                 + expectedChannelBytes(resumed.data, 4));
    EXPECT_EQ(resumed.view.writes.first().completedChannels(), QList<int>({3, 4, 5}));
}

TEST(BulkWriteRecord, EveryOutcomeIsReportedOnceWithWhatCompleted)
{
    struct Case
    {
        const char *name;
        std::function<void(RecordRig &)> arrange; // before KakikomiOn
        std::function<void(RecordRig &)> act;     // after it
        WriteOutcome outcome;
        QList<int> completed;
    };
    const Case cases[] = {
        {"done", {}, {}, WriteOutcome::Done, {1, 2}},
        {"time-out in channel 2",
         [](RecordRig &rig) { rig.device.drop = [](int frame) { return frame >= 50; }; }, {},
         WriteOutcome::TimedOut, {1}},
        {"port that will not open", [](RecordRig &rig) { rig.port.failOpens = 1; }, {},
         WriteOutcome::PortFailed, {}},
        {"a code the device cannot be sent", [](RecordRig &rig) { rig.data.DispData(0, 0, 1) = 3; }, {},
         WriteOutcome::Refused, {}},
        {"window hidden during channel 2", {},
         [](RecordRig &rig) {
             rig.clock.advance(10 * (ChannelFrames::PerChannel + 5));
             rig.engine->abandonOperation();
         },
         WriteOutcome::Abandoned, {1}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        RecordRig rig;
        rig.selectChannels({1, 2});
        if (c.arrange)
            c.arrange(rig);
        rig.engine->KakikomiOn();
        if (c.act)
            c.act(rig);
        rig.runUntilEnded();
        rig.clock.advance(10000);
        ASSERT_EQ(rig.view.writes.size(), 1);
        EXPECT_EQ(rig.view.writes.first().outcome, c.outcome);
        EXPECT_EQ(rig.view.writes.first().askedChannels(), QList<int>({1, 2}));
        EXPECT_EQ(rig.view.writes.first().completedChannels(), c.completed);
        EXPECT_EQ(rig.view.warningsBeforeReport.first(), 0);
    }
}

TEST(BulkWriteRecord, AWriteWaitingForAPollThatFailsIsReportedToo)
{
    RecordRig rig;
    rig.selectChannels({4});
    rig.device.silent = true;
    rig.engine->startPolling();
    rig.clock.advance(LinkEngine::PollInterval + 1); // a poll awaits its reply
    rig.engine->KakikomiOn();
    EXPECT_TRUE(rig.engine->writePending());
    rig.runUntilEnded();
    ASSERT_EQ(rig.view.writes.size(), 1);
    EXPECT_EQ(rig.view.writes.first().outcome, WriteOutcome::TimedOut);
    EXPECT_EQ(rig.view.writes.first().askedChannels(), QList<int>({4}));
    EXPECT_TRUE(rig.view.writes.first().completedChannels().isEmpty());

    // Polls and other operations report no write.
    RecordRig other;
    other.engine->selectChannel(2);
    other.runUntilEnded();
    EXPECT_TRUE(other.view.writes.isEmpty());
}
