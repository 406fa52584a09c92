// The telnet framing on its own: doubling, commands and subnegotiations,
// and a stream cut anywhere.

#include "netserial/TelnetCodec.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using T = TelnetCodec;

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out += char(v);
    return out;
}

// A server's stream mixing data with everything telnet can put in it.
QByteArray mixedStream()
{
    return "AB" + T::command(T::Will, 0) + "C" + bytes({255, 255}) + "\r"
        + T::subnegotiation(44, bytes({106, 0x08})) + T::subnegotiation(44, bytes({101, 0, 0, 0x25, 0x80}))
        + "D" + bytes({255, 241}) /* NOP */ + "E" + T::subnegotiation(44, bytes({107, 255})) + T::command(T::Dont, 1)
        + "F";
}

void expectSameDecoding(const T::Decoded &got, const T::Decoded &want, const std::string &where)
{
    EXPECT_EQ(got.data, want.data) << where;
    EXPECT_EQ(got.commands, want.commands) << where;
    EXPECT_EQ(got.subnegotiations, want.subnegotiations) << where;
}

void append(T::Decoded &into, const T::Decoded &part)
{
    into.data += part.data;
    into.commands += part.commands;
    into.subnegotiations += part.subnegotiations;
}

} // namespace

TEST(TelnetCodec, EveryByteValueSurvivesTheRoundTripAndOnly0xFFIsDoubled)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const QByteArray wire = T::escape(all + all);
    EXPECT_EQ(wire.size(), 2 * 256 + 2);
    EXPECT_EQ(T().decode(wire).data, all + all);
}

TEST(TelnetCodec, ACarriageReturnInsideABlockFrameStaysOneRawByte)
{
    // A character block whose packed dots hold 0x0D and 0xFF.
    QByteArray block(54, '\x55');
    block[3] = '\r';
    block[4] = '\0';
    block[10] = char(0xff);
    const QByteArray frame = "@WC,P01," + block + '\r';
    const QByteArray wire = T::escape(frame);
    EXPECT_EQ(wire.size(), frame.size() + 1) << "only the 0xFF grows";
    EXPECT_EQ(wire.mid(8, 5), bytes({0x55, 0x55, 0x55, 0x0d, 0x00}));
    EXPECT_EQ(wire.right(1), "\r") << "no NUL or LF after the final CR";
    EXPECT_EQ(T().decode(wire).data, frame);
}

TEST(TelnetCodec, CommandsAndSubnegotiationsAreTakenOutOfTheData)
{
    const T::Decoded decoded = T().decode(mixedStream());
    EXPECT_EQ(decoded.data, QByteArray("ABC\xff\rDEF"));
    EXPECT_EQ(decoded.commands, (QList<T::Command>{{T::Will, 0}, {T::Dont, 1}}));
    EXPECT_EQ(decoded.subnegotiations,
              (QList<T::Subnegotiation>{{44, bytes({106, 0x08})},
                                        {44, bytes({101, 0, 0, 0x25, 0x80})},
                                        {44, bytes({107, 255})}}));
}

TEST(TelnetCodec, AStreamCutAtAnyByteDecodesAsAWhole)
{
    const QByteArray stream = mixedStream();
    const T::Decoded whole = T().decode(stream);
    for (int cut = 0; cut <= stream.size(); ++cut) {
        T codec;
        T::Decoded joined = codec.decode(stream.left(cut));
        append(joined, codec.decode(stream.mid(cut)));
        expectSameDecoding(joined, whole, "cut at " + std::to_string(cut));
    }
    T codec;
    T::Decoded byteByByte;
    for (const char c : stream)
        append(byteByByte, codec.decode(QByteArray(1, c)));
    expectSameDecoding(byteByByte, whole, "one byte at a time");
}

TEST(TelnetCodec, ResetForgetsAHalfReadCommand)
{
    T codec;
    codec.decode(bytes({255, 250, 44, 1}));
    codec.reset();
    EXPECT_EQ(codec.decode("ok").data, "ok");
}
