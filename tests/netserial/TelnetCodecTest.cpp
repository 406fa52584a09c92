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

// The items of several pieces as one list, data that the cuts split
// joined again.
QList<T::Item> joined(const QList<T::Decoded> &pieces)
{
    QList<T::Item> items;
    for (const T::Decoded &piece : pieces) {
        for (const T::Item &item : piece.items) {
            if (item.kind == T::Item::Kind::Data && !items.isEmpty() && items.last().kind == T::Item::Kind::Data)
                items.last().bytes += item.bytes;
            else
                items.append(item);
        }
    }
    return items;
}

} // namespace

TEST(TelnetCodec, EveryByteValueSurvivesTheRoundTripAndOnly0xFFIsDoubled)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const QByteArray wire = T::escape(all + all);
    EXPECT_EQ(wire.size(), 2 * 256 + 2);
    EXPECT_EQ(T().decode(wire).data(), all + all);
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
    EXPECT_EQ(T().decode(wire).data(), frame);
}

TEST(TelnetCodec, CommandsAndSubnegotiationsComeOutInStreamOrder)
{
    using I = T::Item;
    const T::Decoded decoded = T().decode(mixedStream());
    EXPECT_EQ(decoded.items, (QList<I>{I::data("AB"), I::command(T::Will, 0), I::data("C\xff\r"),
                                      I::subnegotiation(44, bytes({106, 0x08})),
                                      I::subnegotiation(44, bytes({101, 0, 0, 0x25, 0x80})), I::data("DE"),
                                      I::subnegotiation(44, bytes({107, 255})), I::command(T::Dont, 1),
                                      I::data("F")}));
    EXPECT_EQ(decoded.data(), QByteArray("ABC\xff\rDEF"));
    EXPECT_FALSE(decoded.broken);
}

TEST(TelnetCodec, AStreamCutAtAnyByteDecodesAsAWhole)
{
    const QByteArray stream = mixedStream();
    const QList<T::Item> whole = joined({T().decode(stream)});
    for (int cut = 0; cut <= stream.size(); ++cut) {
        T codec;
        const T::Decoded first = codec.decode(stream.left(cut));
        EXPECT_EQ(joined({first, codec.decode(stream.mid(cut))}), whole) << "cut at " << cut;
    }
    T codec;
    QList<T::Decoded> pieces;
    for (const char c : stream)
        pieces.append(codec.decode(QByteArray(1, c)));
    EXPECT_EQ(joined(pieces), whole) << "one byte at a time";
}

TEST(TelnetCodec, ASubnegotiationBeyondTheLimitBreaksTheStreamAndIsNotKept)
{
    const QByteArray start = bytes({255, 250, 44});
    const QByteArray end = bytes({255, 240});
    struct Case
    {
        const char *name;
        QByteArray stream;
        bool broken;
    };
    const Case cases[] = {
        {"at the limit", start + QByteArray(T::MaxSubnegotiation, 'x') + end, false},
        {"doubled 0xFF counts once", start + T::escape(QByteArray(T::MaxSubnegotiation, '\xff')) + end, false},
        {"one byte over", start + QByteArray(T::MaxSubnegotiation + 1, 'x') + end + "data", true},
        {"never ended", start + QByteArray(100000, 'x'), true},
    };
    for (const Case &c : cases) {
        T codec;
        bool broken = false;
        QByteArray data;
        // In pieces, as a socket delivers a flood.
        for (qsizetype at = 0; at < c.stream.size(); at += 1000) {
            const T::Decoded piece = codec.decode(c.stream.mid(at, 1000));
            EXPECT_FALSE(broken && (piece.broken || !piece.items.isEmpty())) << c.name << ": silent once broken";
            broken = broken || piece.broken;
            data += piece.data();
            EXPECT_LE(codec.heldBytes(), T::MaxSubnegotiation) << c.name;
        }
        EXPECT_EQ(broken, c.broken) << c.name;
        EXPECT_EQ(codec.isBroken(), c.broken) << c.name;
        EXPECT_TRUE(data.isEmpty()) << c.name << ": nothing after the break is read";
        codec.reset();
        EXPECT_EQ(codec.decode("ok").data(), "ok") << c.name << ": a new connection reads again";
    }
}

TEST(TelnetCodec, ResetForgetsAHalfReadCommand)
{
    T codec;
    codec.decode(bytes({255, 250, 44, 1}));
    codec.reset();
    EXPECT_EQ(codec.decode("ok").data(), "ok");
}
