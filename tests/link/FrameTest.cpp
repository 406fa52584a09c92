#include "core/TitleData.h"
#include "link/DeviceCommand.h"
#include "link/HostLinkFrame.h"
#include "link/Sysmac.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(Sysmac, HexToDecCountsStrangersAsZero)
{
    EXPECT_EQ(Sysmac::HexToDec("ff"), "255");
    EXPECT_EQ(Sysmac::HexToDec("0A"), "10");
    EXPECT_EQ(Sysmac::HexToDec(""), "0");
    EXPECT_EQ(Sysmac::HexToDec("zz"), "0");
    EXPECT_EQ(Sysmac::HexToDec("1z"), "16");
    EXPECT_EQ(Sysmac::HexToDec("ffffffffff"), "1099511627775");
}

TEST(Sysmac, BinToIntReadsOnlyOnes)
{
    EXPECT_EQ(Sysmac::BinToInt("10010001"), 145);
    EXPECT_EQ(Sysmac::BinToInt(""), 0);
    EXPECT_EQ(Sysmac::BinToInt("1x1"), 5);
    EXPECT_EQ(Sysmac::BinToInt("11111111"), 255);
}

static CharPattern filled(PixelCode code)
{
    CharPattern p;
    p.fill(code);
    return p;
}

TEST(HostLinkFrame, ScreenRowOfABlankPage)
{
    TitleData data;
    const QByteArray frame = HostLinkFrame::screenRow(data, 0, 12);
    EXPECT_EQ(frame, QByteArray("@WD,P00,L12,") + QByteArray(30, '\0') + '\r');
    EXPECT_EQ(frame.size(), 43);
}

TEST(HostLinkFrame, CodesOfALaterPageAppearAsOneToTwentyFive)
{
    TitleData data;
    data.DispData(0, 0, 2) = 51;
    data.DispData(1, 0, 2) = 75;
    data.DispData(2, 0, 2) = 0;
    data.DispData(0, 1, 2) = 99; // the second layer never travels
    const QByteArray frame = HostLinkFrame::screenRow(data, 2, 0);
    EXPECT_EQ(frame.mid(12, 3), QByteArray::fromHex("011900"));
    EXPECT_TRUE(HostLinkFrame::isSendable(51, 2));
    EXPECT_FALSE(HostLinkFrame::isSendable(50, 2));
    EXPECT_FALSE(HostLinkFrame::isSendable(3, 2));
    EXPECT_TRUE(HostLinkFrame::isSendable(0, 7));
}

TEST(HostLinkFrame, CharacterSlotsAreTwoUpperCaseHexDigits)
{
    const CharPattern p = filled(PixelCode::transparent());
    EXPECT_TRUE(HostLinkFrame::character(p, 5).startsWith("@WC,P05,"));
    EXPECT_TRUE(HostLinkFrame::character(p, 16).startsWith("@WC,P10,"));
    EXPECT_TRUE(HostLinkFrame::character(p, 25).startsWith("@WC,P19,"));
    EXPECT_EQ(HostLinkFrame::character(p, 25).size(), 63);
    EXPECT_EQ(HostLinkFrame::codeForSlot(3, 0), 0);
    EXPECT_EQ(HostLinkFrame::codeForSlot(3, 1), 76);
    EXPECT_EQ(HostLinkFrame::codeForSlot(7, 25), 200);
}

TEST(HostLinkFrame, PacksFourDotsAByteFirstDotHighest)
{
    EXPECT_EQ(HostLinkFrame::packPattern(filled(PixelCode::transparent())), QByteArray(54, '\x55'));
    EXPECT_EQ(HostLinkFrame::packPattern(filled(PixelCode::white())), QByteArray(54, '\xAA'));
    EXPECT_EQ(HostLinkFrame::packPattern(filled(PixelCode::black())), QByteArray(54, '\0'));
    EXPECT_EQ(HostLinkFrame::packPattern(filled(PixelCode())), QByteArray(54, '\x55'));

    CharPattern p = filled(PixelCode::transparent());
    p[0] = PixelCode::white();
    p[2] = PixelCode::black();
    p[216] = PixelCode::white(); // spare dots are never sent
    const QByteArray bytes = HostLinkFrame::packPattern(p);
    EXPECT_EQ(quint8(bytes[0]), 0x91);
    EXPECT_EQ(bytes.mid(1), QByteArray(53, '\x55'));
}

TEST(DeviceCommand, TextCommandsAndTheirReplyLengths)
{
    TitleData data;
    LinkState s;
    auto frame = [&](Cmd kind) {
        s.CmdKind = kind;
        return DeviceCommand::build(s, data);
    };

    s.SendCh = 7;
    EXPECT_EQ(frame(Cmd::SelectChannel).bytes, QByteArray::fromHex("4353380d"));
    s.RowNo = 12;
    EXPECT_EQ(frame(Cmd::Brightness).bytes, "BS13,00\r");
    s.RowNo = 6;
    s.BlackLv = 2;
    s.WhiteLv = 1;
    EXPECT_EQ(frame(Cmd::Brightness).bytes, "BS07,21\r");
    s.CharNo = 1;
    EXPECT_EQ(frame(Cmd::Overlay).bytes, "OS1\r");
    EXPECT_EQ(frame(Cmd::Finish).bytes, "PS1\r");

    const char *moves[] = {"VP+\r", "VP-\r", "HP-\r", "HP+\r"};
    const Request moveRequests[] = {Request::MoveDown, Request::MoveUp, Request::MoveLeft, Request::MoveRight};
    for (int i = 0; i < 4; ++i) {
        s.ReqNo = moveRequests[i];
        EXPECT_EQ(frame(Cmd::Move).bytes, moves[i]);
    }
    s.ReqNo = Request::StatusPoll;
    EXPECT_TRUE(frame(Cmd::Move).bytes.isEmpty());
    EXPECT_TRUE(frame(Cmd(7)).bytes.isEmpty());

    EXPECT_EQ(frame(Cmd::QueryChannel).replyLength, 2);
    EXPECT_EQ(frame(Cmd::QueryHorizontal).bytes, "HP?\r");
    EXPECT_EQ(frame(Cmd::QueryHorizontal).replyLength, 3);
    EXPECT_EQ(frame(Cmd::QueryLevels).bytes, "BS01,?\r");
    EXPECT_EQ(frame(Cmd::QueryVideoLoss).replyLength, 3);
}

TEST(DeviceCommand, SlotZeroCarriesTheSharedBlankWhateverTheChannel)
{
    TitleData data;
    data.setDefaults();
    data.DotData[0].fill(PixelCode::black());
    data.DotData[76].fill(PixelCode::white());
    LinkState s;
    s.CmdKind = Cmd::Character;
    s.SendCh = 3;
    s.CharNo = 0;
    EXPECT_EQ(DeviceCommand::build(s, data).bytes.mid(8, 54), QByteArray(54, '\0'));
    s.CharNo = 1;
    EXPECT_EQ(DeviceCommand::build(s, data).bytes.mid(8, 54), QByteArray(54, '\xAA'));
}
