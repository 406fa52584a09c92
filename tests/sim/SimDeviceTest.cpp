#include "sim/SimDevice.h"
#include "sim/SimFrameParser.h"
#include "sim/SimSnapshot.h"
#include "core/FileSystem.h"
#include "link/ReplyDecoder.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(SimFrameParser, BlockFramesAreTakenByLengthEvenWithCarriageReturnsInside)
{
    SimFrameParser parser;
    QByteArray row = "@WD,P00,L03," + QByteArray(30, '\r') + '\r';
    QByteArray stream = "CS3\r" + row + "PS1\r";
    QList<SimFrameParser::Frame> frames;
    for (char byte : stream) // one byte at a time, as a slow line delivers them
        frames += parser.feed(QByteArray(1, byte));
    ASSERT_EQ(frames.size(), 3);
    EXPECT_EQ(frames[0].bytes, "CS3");
    EXPECT_EQ(frames[1].bytes, row.chopped(1));
    EXPECT_EQ(frames[2].bytes, "PS1");
    for (const auto &frame : frames)
        EXPECT_TRUE(frame.refusal.isEmpty()) << frame.bytes.constData();
    EXPECT_TRUE(parser.pending().isEmpty());

    EXPECT_EQ(parser.feed("@W").size(), 0);
    EXPECT_EQ(parser.feed("C,P19," + QByteArray(54, '\r')).size(), 0);
    EXPECT_EQ(parser.feed("\r").size(), 1);
}

TEST(SimDevice, KeepsWhatTheHostWritesPerChannel)
{
    SimDevice device;
    EXPECT_EQ(device.handle("CS3").reply, QByteArray::fromHex("060d"));
    device.handle("@WD,P00,L12," + QByteArray(29, '\0') + '\x19');
    device.handle("@WC,P19," + QByteArray(54, '\xAA'));
    device.handle("BS13,21");
    device.handle("OS0");
    EXPECT_TRUE(device.handle("PS1").finished);

    const SimChannel &ch = device.channel(2);
    EXPECT_EQ(quint8(ch.page.at(12 * 30 + 29)), 25);
    EXPECT_EQ(ch.patterns[25], QByteArray(54, '\xAA'));
    EXPECT_EQ(ch.levels[12].black, 2);
    EXPECT_EQ(ch.levels[12].white, 1);
    EXPECT_FALSE(ch.overlay);
    EXPECT_EQ(ch.dataFrames, 2);
    EXPECT_EQ(device.channel(0).dataFrames, 0);
}

TEST(SimDevice, AnswersQueriesInTheLayoutTheLinkDecodes)
{
    SimDevice device;
    device.setVideoLoss(0x5A);
    device.handle("CS8");
    device.handle("HP+");
    device.handle("VP-");
    device.handle("BS01,32");
    EXPECT_EQ(device.handle("CS?").reply, QByteArray::fromHex("080d"));
    EXPECT_EQ(device.handle("HP?").reply, QByteArray::fromHex("03030d"));
    EXPECT_EQ(device.handle("VP?").reply, QByteArray::fromHex("01050d"));
    EXPECT_EQ(device.handle("BS01,?").reply, QByteArray::fromHex("02030d"));
    EXPECT_EQ(device.handle("VL").reply, QByteArray::fromHex("050a0d"));
}

TEST(SimFrameParser, RefusesABlockFrameWhoseLastByteIsNotCrAndResynchronises)
{
    SimFrameParser parser;
    // One byte short: the block swallows the first byte of the next command.
    const auto frames = parser.feed("@WC,P01," + QByteArray(53, '\x55') + "\rCS3\rOS1\r");
    ASSERT_EQ(frames.size(), 3);
    EXPECT_FALSE(frames[0].refusal.isEmpty());
    EXPECT_EQ(frames[1].bytes, "S3"); // the device then refuses this as an unknown command
    EXPECT_EQ(frames[2].bytes, "OS1");
    EXPECT_TRUE(frames[2].refusal.isEmpty());
}

TEST(SimFrameParser, DropsATextLineLongerThanAnyCommandUpToItsCr)
{
    SimFrameParser parser;
    QList<SimFrameParser::Frame> frames;
    for (int i = 0; i < 1000; ++i)
        frames += parser.feed(QByteArray(1000, 'x'));
    EXPECT_LE(parser.pending().size(), SimFrameParser::MaxTextLength); // noise does not pile up
    frames += parser.feed("xx\rVL\r");
    ASSERT_EQ(frames.size(), 2);
    EXPECT_FALSE(frames[0].refusal.isEmpty());
    EXPECT_EQ(frames[1].bytes, "VL");
    EXPECT_TRUE(frames[1].refusal.isEmpty());
}

// Frames the device does not accept get no answer and change nothing.
TEST(SimDevice, IgnoresFramesTheDeviceWouldNotAccept)
{
    const QByteArray row(30, '\1');
    const QByteArray pattern(54, '\xAA');
    const QList<QByteArray> frames = {
        "@WC,P0a," + pattern,    // lower-case slot
        "@WC,P1A," + pattern,    // slot 26 does not exist
        "@WC,P 1," + pattern,    // not a hexadecimal digit
        "@WC,Q01," + pattern,    //
        "@WC,P01;" + pattern,    //
        "@WC,P01," + pattern.left(53), // short block
        "@WD,P01,L00," + row,    // the page is always P00
        "@WD,P00,L13," + row,    // no row 13
        "@WD,P00,L1a," + row,    //
        "@WD,P00,L-1," + row,    //
        "@WD,P00,L00," + row + 'x', // long block
        "cs3", "CS0", "CS9", "CS33", "CS", "OS2", "OS", "PS0", "PS1 ", "HP", "VP*", "vl", "XX", "",
        "BS14,00", "BS00,00", "BS01,40", "BS01,04", "BS1,00", "BS01-00", "BS01,0", "BS01,?0",
    };
    for (const QByteArray &frame : frames) {
        SimDevice device;
        const SimDevice::Answer answer = device.handle(frame);
        EXPECT_TRUE(answer.reply.isEmpty()) << frame.left(12).toPercentEncoding().constData();
        EXPECT_FALSE(answer.refusal.isEmpty()) << frame.left(12).toPercentEncoding().constData();
        EXPECT_FALSE(answer.finished);
        EXPECT_EQ(device.selected(), 0);
        const SimChannel fresh;
        EXPECT_EQ(device.channel(0).patterns, fresh.patterns);
        EXPECT_EQ(device.channel(0).page, fresh.page);
        EXPECT_EQ(device.channel(0).overlay, fresh.overlay);
        EXPECT_EQ(device.channel(0).dataFrames, 0);
    }
}

TEST(SimSnapshot, TransparentDotsShowTheVideo)
{
    SimChannel ch;
    ch.patterns[1] = QByteArray(54, '\xAA'); // all white
    ch.page[0] = 1;
    const QImage image = SimSnapshot::render(ch, false);
    const int x0 = (SimSnapshot::Width - 30 * 12 * SimSnapshot::Scale) / 2;
    const int y0 = (SimSnapshot::Height - 13 * 18 * SimSnapshot::Scale) / 2;
    EXPECT_EQ(image.pixel(x0 + 1, y0 + 1), qRgb(255, 255, 255));
    const QRgb video = SimSnapshot::render(SimChannel{}, false).pixel(x0 + 30, y0 + 1);
    EXPECT_EQ(image.pixel(x0 + 30, y0 + 1), video); // the blank character lets it through
    ch.overlay = false;
    EXPECT_EQ(SimSnapshot::render(ch, false).pixel(x0 + 1, y0 + 1), SimSnapshot::render(SimChannel{}, false).pixel(x0 + 1, y0 + 1));
}

// The host shows whatever position the simulator reports over its whole
// travel, as the raw position less the centre, never as garbled.
TEST(SimDevice, EveryPositionItReportsIsOneTheHostShows)
{
    SimDevice device;
    auto reported = [&](const char *query) { return FileSystem::BytesToHex(device.handle(query).reply); };
    for (int i = 0; i < 40; ++i)
        device.handle("HP-");
    for (int i = 0; i < 20; ++i)
        device.handle("VP-");
    for (int raw = 0; raw < 64; ++raw) {
        EXPECT_EQ(ReplyDecoder::horizontalPosition(reported("HP?")), raw - SimChannel::CentreH) << raw;
        if (raw < 32) {
            EXPECT_EQ(ReplyDecoder::verticalPosition(reported("VP?")), SimChannel::CentreV - raw) << raw;
        }
        device.handle("HP+");
        device.handle("VP+");
    }
}
