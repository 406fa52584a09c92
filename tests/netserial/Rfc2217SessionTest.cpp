// The RFC 2217 client's negotiation and line-state reports, against
// scripted server bytes.

#include "netserial/Rfc2217Session.h"
#include "support/QtPrinters.h"
#include "support/SessionOutcome.h"

#include <gtest/gtest.h>

namespace {

using T = TelnetCodec;
using S = Rfc2217Session;

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out += char(v);
    return out;
}

QByteArray comPort(std::initializer_list<int> payload)
{
    return T::subnegotiation(S::ComPort, bytes(payload));
}

QByteArray speed(int baud)
{
    return comPort({101, 0, (baud >> 16) & 0xff, (baud >> 8) & 0xff, baud & 0xff});
}

// How ser2net 4 starts, byte for byte: its options (an echo among them),
// then reports of modem and line state, the latter its answer to our mask;
// `answers` follow.
QByteArray ser2net(const QByteArray &answers)
{
    return T::command(T::Will, S::SuppressGoAhead) + T::command(T::Do, S::SuppressGoAhead)
        + T::command(T::Will, S::Echo) + T::command(T::Dont, S::Echo) + T::command(T::Do, S::Binary)
        + T::command(T::Will, S::Binary) + T::command(T::Do, S::ComPort) + comPort({107, 0}) + comPort({106, 0})
        + answers;
}

// Each setting confirmed with the value the port now has, then the speed
// asked for. RTS 0: no answer to its request, as ser2net on a
// pseudo-terminal; otherwise the second SET-CONTROL answer.
QByteArray confirmations(int baud = 9600, int parity = 1, int stop = 1, int flow = 1, int rts = 0)
{
    return speed(baud) + comPort({102, 8}) + comPort({103, parity}) + comPort({104, stop}) + comPort({105, flow})
        + (rts ? comPort({105, rts}) : QByteArray()) + speed(baud);
}

} // namespace

TEST(Rfc2217Session, AsksForBinarySuppressGoAheadAndPortControl)
{
    S session;
    EXPECT_EQ(session.start(), bytes({255, 251, 0, 255, 253, 0, 255, 251, 3, 255, 253, 3, 255, 251, 44}));
}

TEST(Rfc2217Session, SetsTheFarPortTo9600EightNoneOneWithoutFlowControlAndRtsOffThenAsksTheSpeed)
{
    S session;
    session.start();
    const QByteArray reply = session.receive(T::command(T::Do, S::ComPort)).reply;
    using I = T::Item;
    const QList<I> want = {
        I::subnegotiation(44, bytes({1, 0, 0, 0x25, 0x80})), I::subnegotiation(44, bytes({2, 8})),
        I::subnegotiation(44, bytes({3, 1})),                I::subnegotiation(44, bytes({4, 1})),
        I::subnegotiation(44, bytes({5, 1})),                I::subnegotiation(44, bytes({5, 12})),
        I::subnegotiation(44, bytes({10, 0x1e})),            I::subnegotiation(44, bytes({11, 0})),
        I::subnegotiation(44, bytes({1, 0, 0, 0, 0})),
    };
    EXPECT_EQ(T().decode(reply).items, want);
    EXPECT_TRUE(session.receive(T::command(T::Do, S::ComPort)).reply.isEmpty()) << "settings go out once";
}

TEST(Rfc2217Session, TheOutcomeIsTheSameWhereverTheServersBytesAreCut)
{
    struct Case
    {
        const char *name;
        QByteArray stream;
        bool ready;
        QString failure;
    };
    const Case cases[] = {
        {"ser2net on a pseudo-terminal", ser2net(confirmations()), true, {}},
        {"a device with RTS", ser2net(confirmations(9600, 1, 1, 1, 12)), true, {}},
        // Within one piece the speed came before the refused binary mode.
        {"first fault wins", ser2net(speed(19200)) + T::command(T::Wont, S::Binary), false,
         QStringLiteral("通信速度を「9600bps」ではなく「19200bps」にしました。")},
        {"line errors and data among the answers", ser2net("ab" + comPort({106, 0x18}) + "c" + confirmations()),
         true, {}},
    };
    for (const Case &c : cases) {
        const SessionOutcome whole = SessionOutcome::of({c.stream});
        EXPECT_EQ(whole.ready, c.ready) << c.name;
        EXPECT_EQ(whole.failure, c.failure) << c.name;
        for (int cut = 0; cut < c.stream.size(); ++cut) {
            const SessionOutcome split = SessionOutcome::of({c.stream.left(cut), c.stream.mid(cut)});
            EXPECT_EQ(split, whole) << c.name << ", cut at " << cut;
            if (c.ready) {
                EXPECT_FALSE(SessionOutcome::of({c.stream.left(cut)}).ready) << c.name << ": ready early, cut " << cut;
            }
        }
    }
}

TEST(Rfc2217Session, RefusesWhatWouldCorruptTheLineInWords)
{
    struct Case
    {
        const char *name;
        QByteArray server;
        QString failure; // empty: none
    };
    const Case cases[] = {
        {"no port control", T::command(T::Dont, S::ComPort), QStringLiteral("RFC 2217 のポート制御に対応していません。")},
        {"no binary", T::command(T::Wont, S::Binary), QStringLiteral("バイナリ転送を拒否しました。")},
        {"parity", ser2net(confirmations(9600, 3)), QStringLiteral("パリティを「なし」ではなく「偶数」にしました。")},
        {"stop bits", ser2net(confirmations(9600, 1, 2)),
         QStringLiteral("ストップビットを「1」ではなく「2」にしました。")},
        {"data bits", ser2net(speed(9600) + comPort({102, 7})),
         QStringLiteral("データビットを「8」ではなく「7」にしました。")},
        {"hardware flow control", ser2net(confirmations(9600, 1, 1, 3)),
         QStringLiteral("ハードウェアフロー制御を有効にしました（この接続では使えません）。")},
        {"software flow control", ser2net(confirmations(9600, 1, 1, 2)),
         QStringLiteral("フロー制御を「なし」ではなく「XON/XOFF」にしました。")},
        {"RTS on", ser2net(confirmations(9600, 1, 1, 1, 11)), QStringLiteral("RTSを「オフ」ではなく「オン」にしました。")},
        // Two SET-CONTROL answers go to the two requests in turn.
        {"answers in the server's order", ser2net(confirmations(9600, 1, 1, 12, 1)),
         QStringLiteral("フロー制御を「なし」ではなく「不明な値」にしました。")},
        {"a setting passed over", ser2net(speed(9600) + comPort({102, 8}) + comPort({103, 1}) + speed(9600)),
         QStringLiteral("ストップビットの設定に応答しませんでした。")},
        {"a speed of the wrong length", ser2net(comPort({101, 0x25, 0x80})),
         QStringLiteral("通信速度を「9600bps」ではなく「不明な値」にしました。")},
        {"an endless subnegotiation", ser2net(bytes({255, 250, 44}) + QByteArray(T::MaxSubnegotiation + 1, 'x')),
         QStringLiteral("不正な、または長すぎるネゴシエーションを送ってきました。")},
    };
    for (const Case &c : cases) {
        const SessionOutcome got = SessionOutcome::of({c.server});
        EXPECT_EQ(got.failure, c.failure) << c.name;
        EXPECT_FALSE(got.ready) << c.name;
    }
}

TEST(Rfc2217Session, TurnsDownOptionsThatWouldCorruptReplies)
{
    EXPECT_EQ(SessionOutcome::of({T::command(T::Will, S::Echo)}).reply, T::command(T::Dont, S::Echo));
    EXPECT_EQ(SessionOutcome::of({T::command(T::Do, 24)}).reply, T::command(T::Wont, 24));
}

TEST(Rfc2217Session, LineStateNotificationsBecomeTheLocalPortsLineErrors)
{
    struct Case
    {
        int state;
        QList<CommEvent> events;
    };
    const Case cases[] = {
        {0x10, {CommEvent::Break}},
        {0x08, {CommEvent::Framing}},
        {0x04, {CommEvent::ReceiveParity}},
        {0x02, {CommEvent::Overrun}},
        {0x61, {}}, // data ready and empty transmit registers: no error
        {0x1e, {CommEvent::Break, CommEvent::Framing, CommEvent::ReceiveParity, CommEvent::Overrun}},
    };
    for (const Case &c : cases) {
        S session;
        session.start();
        const S::Received got = session.receive("x" + comPort({106, c.state}) + "y");
        EXPECT_EQ(got.events, c.events) << "state " << c.state;
        EXPECT_EQ(got.data, "xy");
    }
}

TEST(Rfc2217Session, DataFromTheFarPortKeepsEveryByte)
{
    S session;
    session.start();
    EXPECT_EQ(session.receive(bytes({0x01, 255, 255, 0x0d, 0x00})).data, bytes({0x01, 0xff, 0x0d, 0x00}));
    EXPECT_EQ(S::encode(bytes({0xff, 0x0d})), bytes({0xff, 0xff, 0x0d}));
}
