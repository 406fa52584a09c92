// The RFC 2217 client's negotiation and line-state reports, against
// scripted server bytes.

#include "netserial/Rfc2217Session.h"
#include "support/QtPrinters.h"

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

// What a willing server such as ser2net answers: its options, then each
// setting confirmed with the value the port now has.
QByteArray serverAnswers(int baud = 9600)
{
    return T::command(T::Will, S::SuppressGoAhead) + T::command(T::Do, S::Binary) + T::command(T::Will, S::Binary)
        + T::command(T::Do, S::SuppressGoAhead) + T::command(T::Do, S::ComPort)
        + comPort({101, 0, (baud >> 16) & 0xff, (baud >> 8) & 0xff, baud & 0xff}) + comPort({102, 8})
        + comPort({103, 1}) + comPort({104, 1}) + comPort({105, 1}) + comPort({105, 12});
}

} // namespace

TEST(Rfc2217Session, AsksForBinarySuppressGoAheadAndPortControl)
{
    S session;
    EXPECT_EQ(session.start(), bytes({255, 251, 0, 255, 253, 0, 255, 251, 3, 255, 253, 3, 255, 251, 44}));
}

TEST(Rfc2217Session, SetsTheFarPortTo9600EightNoneOneWithoutFlowControlAndRtsOff)
{
    S session;
    session.start();
    const QByteArray reply = session.receive(T::command(T::Do, S::ComPort)).reply;
    const T::Decoded sent = T().decode(reply);
    const QList<T::Subnegotiation> want = {
        {44, bytes({1, 0, 0, 0x25, 0x80})}, {44, bytes({2, 8})},  {44, bytes({3, 1})},
        {44, bytes({4, 1})},                {44, bytes({5, 1})},  {44, bytes({5, 12})},
        {44, bytes({10, 0x1e})},            {44, bytes({11, 0})},
    };
    EXPECT_EQ(sent.subnegotiations, want);
    EXPECT_TRUE(session.receive(T::command(T::Do, S::ComPort)).reply.isEmpty()) << "settings go out once";
}

TEST(Rfc2217Session, ReadyOnlyOnceTheServerConfirmedTheSettingsWhereverItsBytesAreCut)
{
    const QByteArray answers = serverAnswers();
    // The flow-control and RTS confirmations come after the four that count.
    const qsizetype readyAt = answers.size() - 2 * comPort({105, 1}).size();
    for (int cut = 0; cut <= answers.size(); ++cut) {
        S session;
        session.start();
        const S::Received first = session.receive(answers.left(cut));
        if (cut < readyAt) {
            EXPECT_FALSE(session.ready()) << "cut at " << cut;
        }
        const S::Received second = session.receive(answers.mid(cut));
        EXPECT_TRUE(session.ready()) << "cut at " << cut;
        EXPECT_TRUE(session.failure().isEmpty());
        EXPECT_TRUE(first.data.isEmpty() && second.data.isEmpty()) << "no telnet byte reaches the data";
    }
}

TEST(Rfc2217Session, RefusesWhatWouldCorruptTheLine)
{
    struct Case
    {
        const char *name;
        QByteArray server;
        QByteArray reply;  // what the client answers
        QString failure;   // part of the reason; empty: none
    };
    const Case cases[] = {
        {"echo refused", T::command(T::Will, S::Echo), T::command(T::Dont, S::Echo), {}},
        {"unknown option refused", T::command(T::Do, 24), T::command(T::Wont, 24), {}},
        {"no port control", T::command(T::Dont, S::ComPort), {}, QStringLiteral("RFC 2217")},
        {"no binary", T::command(T::Wont, S::Binary), {}, QStringLiteral("binary")},
        {"other speed", serverAnswers(19200), {}, QStringLiteral("19200 baud instead of 9600")},
    };
    for (const Case &c : cases) {
        S session;
        session.start();
        const QByteArray reply = session.receive(c.server).reply;
        if (!c.reply.isEmpty()) {
            EXPECT_EQ(reply, c.reply) << c.name;
        }
        if (c.failure.isEmpty()) {
            EXPECT_TRUE(session.failure().isEmpty()) << c.name;
        } else {
            EXPECT_TRUE(session.failure().contains(c.failure)) << c.name << ": " << session.failure().toStdString();
            EXPECT_FALSE(session.ready()) << c.name;
        }
    }
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
