#include "sim/SimDevice.h"
#include "sim/SimFrameParser.h"
#include "sim/SimSnapshot.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(SimFrameParser, BlockFramesAreTakenByLengthEvenWithCarriageReturnsInside)
{
    SimFrameParser parser;
    QByteArray row = "@WD,P00,L03," + QByteArray(30, '\r') + '\r';
    QByteArray stream = "CS3\r" + row + "PS1\r";
    QByteArrayList frames;
    for (char byte : stream) // one byte at a time, as a slow line delivers them
        frames += parser.feed(QByteArray(1, byte));
    ASSERT_EQ(frames.size(), 3);
    EXPECT_EQ(frames[0], "CS3");
    EXPECT_EQ(frames[1], row.chopped(1));
    EXPECT_EQ(frames[2], "PS1");
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
    EXPECT_EQ(device.handle("XX").reply, QByteArray::fromHex("150d"));
    EXPECT_EQ(device.handle("CS9").reply, QByteArray::fromHex("150d"));
    EXPECT_EQ(device.handle("BS14,00").reply, QByteArray::fromHex("150d"));
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
