// The network port against servers in this process: raw TCP, a scripted
// RFC 2217 server, refusals, silence and a dropped connection.

#include "platform/NetworkSerialPort.h"
#include "netserial/Rfc2217Session.h"
#include "netserial/ServerNotice.h"
#include "support/QtPrinters.h"
#include "support/VirtualClock.h"
#include "support/WaitFor.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using T = TelnetCodec;
using S = Rfc2217Session;

// A server on a free loopback port that hands each connection to `onClient`.
class LoopbackServer
{
public:
    explicit LoopbackServer(std::function<void(QTcpSocket *)> onClient = {})
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, [this, onClient] {
            while (QTcpSocket *client = m_server.nextPendingConnection()) {
                clients << client;
                QObject::connect(client, &QTcpSocket::readyRead,
                                 [this, client] { received += client->readAll(); });
                if (onClient)
                    onClient(client);
            }
        });
        m_server.listen(QHostAddress::LocalHost);
    }
    QString address(const char *scheme) const
    {
        return QStringLiteral("%1://127.0.0.1:%2").arg(QLatin1String(scheme)).arg(m_server.serverPort());
    }
    void close() { m_server.close(); }

    QList<QTcpSocket *> clients;
    QByteArray received;

private:
    QTcpServer m_server;
};

QByteArray comPort(std::initializer_list<int> payload)
{
    QByteArray bytes;
    for (int v : payload)
        bytes += char(v);
    return T::subnegotiation(S::ComPort, bytes);
}

// Answers the client's options and settings as ser2net does.
void answerAsRfc2217Server(QTcpSocket *client)
{
    client->write(T::command(T::Will, S::Binary) + T::command(T::Do, S::Binary)
                  + T::command(T::Will, S::SuppressGoAhead) + T::command(T::Do, S::ComPort) + comPort({101, 0, 0, 0x25, 0x80})
                  + comPort({102, 8}) + comPort({103, 1}) + comPort({104, 1}) + comPort({105, 1})
                  + comPort({105, 12}) + comPort({101, 0, 0, 0x25, 0x80}));
}

struct Events
{
    explicit Events(SerialPort &port)
    {
        port.setEventHandler([this](CommEvent e) { seen << e; });
    }
    QList<CommEvent> seen;
};

// Starts opening `port` and runs events until it reports how that ended.
bool connectPort(NetworkSerialPort &port, Events &events)
{
    events.seen.clear();
    const OpenProgress progress = port.startOpen();
    if (progress != OpenProgress::Pending)
        return progress == OpenProgress::Opened;
    const bool ended = waitFor([&] {
        return events.seen.contains(CommEvent::Opened) || events.seen.contains(CommEvent::OpenFailed);
    });
    return ended && events.seen.contains(CommEvent::Opened);
}

} // namespace

TEST(NetworkSerialPort, RawTcpCarriesFramesAndRepliesByteForByte)
{
    LoopbackServer server;
    NetworkSerialPort port;
    Events events(port);
    port.setDevicePath(server.address("tcp"));
    ASSERT_TRUE(connectPort(port, events)) << port.errorString().toStdString();
    EXPECT_TRUE(port.isOpen());

    const QByteArray frame = "@WD,P00,L00," + QByteArray("\x0d\xff\x00\x19", 4) + '\r';
    port.write(frame);
    ASSERT_TRUE(waitFor([&] { return server.received.size() >= frame.size(); }));
    EXPECT_EQ(server.received, frame) << "nothing doubled or translated on raw TCP";

    server.clients[0]->write(QByteArray("\x01\xff", 2));
    ASSERT_TRUE(waitFor([&] { return events.seen.contains(CommEvent::DataReceived); }));
    EXPECT_EQ(port.readAll(), QByteArray("\x01\xff", 2));
    EXPECT_TRUE(port.readAll().isEmpty());
}

TEST(NetworkSerialPort, Rfc2217SetsTheFarPortBeforeTheFirstFrameAndDoublesIacs)
{
    LoopbackServer server(answerAsRfc2217Server);
    NetworkSerialPort port;
    Events events(port);
    port.setDevicePath(server.address("rfc2217"));
    ASSERT_TRUE(connectPort(port, events)) << port.errorString().toStdString();
    events.seen.clear();

    const QByteArray frame("A\xff\r", 3);
    const QByteArray onTheWire("A\xff\xff\r", 4);
    port.write(frame);
    ASSERT_TRUE(waitFor([&] { return server.received.endsWith(onTheWire); }));
    // The settings went out before the frame, so the far port already runs
    // at 9600 when its first byte arrives.
    const T::Decoded seen = T().decode(server.received);
    const auto settings = std::find_if(seen.items.begin(), seen.items.end(),
                                       [](const T::Item &i) { return i.kind == T::Item::Kind::Subnegotiation; });
    ASSERT_NE(settings, seen.items.end());
    EXPECT_EQ(settings->bytes, QByteArray("\x01\x00\x00\x25\x80", 5));
    EXPECT_EQ(seen.data(), frame);
    EXPECT_GT(server.received.indexOf(onTheWire), server.received.lastIndexOf(QByteArray("\xff\xf0", 2)));

    // A reply split around an IAC, with a line-state report in between.
    server.clients[0]->write(QByteArray("\x01\xff", 2));
    server.clients[0]->flush();
    ASSERT_TRUE(waitFor([&] { return events.seen.size() >= 1; }));
    server.clients[0]->write(QByteArray("\xff", 1) + comPort({106, 0x08}) + QByteArray("\x02", 1));
    ASSERT_TRUE(waitFor([&] { return events.seen.contains(CommEvent::Framing); }));
    QByteArray reply;
    ASSERT_TRUE(waitFor([&] {
        reply += port.readAll();
        return reply.size() >= 3;
    }));
    EXPECT_EQ(reply, QByteArray("\x01\xff\x02", 3));
}


TEST(NetworkSerialPort, OpenFailuresNameTheReason)
{
    struct Case
    {
        const char *name;
        QString address;
        OpenFailure failure;
        QString reason; // contained in errorString()
    };
    LoopbackServer closed;
    const QString closedAddress = closed.address("tcp");
    closed.close();
    LoopbackServer unwilling([](QTcpSocket *c) { c->write(T::command(T::Dont, S::ComPort)); });
    // ser2net still serving another connection: its text, then it hangs up
    // (or, a slower server, stays on the line).
    LoopbackServer busyCloses([](QTcpSocket *c) {
        c->write("Port already in use\r\n");
        c->disconnectFromHost();
    });
    LoopbackServer busyStays([](QTcpSocket *c) { c->write("Port already in use\r\n"); });
    LoopbackServer endlessNegotiation([](QTcpSocket *c) {
        c->write(QByteArray("\xff\xfa\x2c", 3) + QByteArray(64 * 1024, 'x'));
    });
    LoopbackServer hangsUp([](QTcpSocket *c) { c->disconnectFromHost(); });
    const QString inUse = ServerNotice::describe("Port already in use\r\n");
    const Case cases[] = {
        {"refused", closedAddress, OpenFailure::Refused, QStringLiteral("refused")},
        {"no RFC 2217", unwilling.address("rfc2217"), OpenFailure::ServerRefused, QStringLiteral("RFC 2217")},
        {"busy, hangs up", busyCloses.address("tcp"), OpenFailure::ServerRefused, inUse},
        {"busy, stays", busyStays.address("tcp"), OpenFailure::ServerRefused, inUse},
        {"busy over RFC 2217", busyCloses.address("rfc2217"), OpenFailure::ServerRefused, inUse},
        {"endless negotiation", endlessNegotiation.address("rfc2217"), OpenFailure::ServerRefused,
         QStringLiteral("ネゴシエーション")},
        {"hangs up", hangsUp.address("tcp"), OpenFailure::Reset, QString()},
        {"not an address", QStringLiteral("/dev/ttyUSB0"), OpenFailure::Other, QStringLiteral("network address")},
    };
    for (const Case &c : cases) {
        NetworkSerialPort port;
        Events events(port);
        port.setDevicePath(c.address);
        EXPECT_FALSE(connectPort(port, events)) << c.name;
        EXPECT_FALSE(port.isOpen()) << c.name;
        EXPECT_EQ(port.openFailure(), c.failure) << c.name;
        EXPECT_TRUE(port.errorString().contains(c.reason)) << c.name << ": " << qPrintable(port.errorString());
        EXPECT_FALSE(events.seen.contains(CommEvent::DataReceived)) << c.name << ": a server's text is no reply";
    }
}

TEST(NetworkSerialPort, ADroppedConnectionClosesQuietlyAndTheNextOpenSaysWhy)
{
    LoopbackServer server;
    NetworkSerialPort port;
    Events events(port);
    port.setDevicePath(server.address("tcp"));
    ASSERT_TRUE(connectPort(port, events));
    events.seen.clear();
    ASSERT_TRUE(waitFor([&] { return !server.clients.isEmpty(); }));
    server.clients[0]->abort(); // the server went away
    server.close();
    ASSERT_TRUE(waitFor([&] { return !port.isOpen(); }));
    EXPECT_TRUE(events.seen.isEmpty()) << "a vanished line is no line error";
    port.write("CS?\r"); // goes nowhere, like a frame into a pulled cable
    EXPECT_FALSE(connectPort(port, events));
    EXPECT_EQ(port.openFailure(), OpenFailure::Refused);
}

TEST(NetworkSerialPort, ClosingWhileConnectingAbandonsTheOpenWithoutAWord)
{
    // At once, and while a server that never negotiates keeps it waiting.
    LoopbackServer silent;
    for (const bool offered : {false, true}) {
        NetworkSerialPort port;
        Events events(port);
        const qsizetype accepted = silent.clients.size();
        const qsizetype heard = silent.received.size();
        port.setDevicePath(silent.address("rfc2217"));
        ASSERT_EQ(port.startOpen(), OpenProgress::Pending);
        if (offered) {
            ASSERT_TRUE(waitFor([&] { return silent.received.size() > heard; })) << "the client's telnet offers";
            EXPECT_EQ(port.startOpen(), OpenProgress::Pending) << "still negotiating";
        }
        port.close();
        // Whatever the aborted connection had queued has run once the
        // server has seen it go.
        ASSERT_TRUE(waitFor([&] {
            for (qsizetype i = accepted; i < silent.clients.size(); ++i) {
                if (silent.clients[i]->state() != QAbstractSocket::UnconnectedState)
                    return false;
            }
            return true;
        }));
        QCoreApplication::processEvents();
        EXPECT_TRUE(events.seen.isEmpty()) << offered;
        EXPECT_FALSE(port.isOpen()) << offered;
    }
}

TEST(NetworkSerialPort, AFloodIsHeldToAFewKilobytes)
{
    LoopbackServer server;
    NetworkSerialPort port;
    Events events(port);
    port.setDevicePath(server.address("tcp"));
    ASSERT_TRUE(connectPort(port, events));
    ASSERT_TRUE(waitFor([&] { return !server.clients.isEmpty(); }));
    QTcpSocket *client = server.clients[0];
    const QByteArray chunk(64 * 1024, 'x');
    for (int i = 0; i < 64; ++i)
        client->write(chunk);
    ASSERT_TRUE(waitFor([&] { return client->bytesToWrite() == 0; }));
    ASSERT_TRUE(waitFor([&] { return events.seen.contains(CommEvent::DataReceived); }));
    const QByteArray held = port.readAll();
    EXPECT_GT(held.size(), 0);
    EXPECT_LE(held.size(), NetworkSerialPort::MaxHeldInput);
    EXPECT_TRUE(port.isOpen()) << "a raw line may carry anything; it is only not kept";
}

TEST(NetworkSerialPort, AConnectionUnusedForAWhileCloses)
{
    LoopbackServer server;
    VirtualClock clock;
    NetworkSerialPort port;
    Events events(port);
    port.setIdleTimer(std::make_unique<VirtualTimer>(clock));
    port.setDevicePath(server.address("tcp"));
    ASSERT_TRUE(connectPort(port, events));
    events.seen.clear();
    ASSERT_TRUE(waitFor([&] { return !server.clients.isEmpty(); }));
    clock.advance(NetworkSerialPort::IdleCloseMs - 1);
    EXPECT_TRUE(port.isOpen());
    port.write("CS?\r"); // use keeps it
    ASSERT_TRUE(waitFor([&] { return server.received == "CS?\r"; }));
    clock.advance(NetworkSerialPort::IdleCloseMs - 1);
    EXPECT_TRUE(port.isOpen());
    clock.advance(1);
    EXPECT_FALSE(port.isOpen());
    ASSERT_TRUE(waitFor([&] { return server.clients[0]->state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_TRUE(events.seen.isEmpty());
    EXPECT_EQ(server.clients.size(), 1);
}

TEST(NetworkSerialPort, SocketErrorsMapToTheOperatorsWords)
{
    const std::pair<QAbstractSocket::SocketError, OpenFailure> cases[] = {
        {QAbstractSocket::ConnectionRefusedError, OpenFailure::Refused},
        {QAbstractSocket::HostNotFoundError, OpenFailure::UnknownHost},
        {QAbstractSocket::SocketTimeoutError, OpenFailure::NoAnswer},
        {QAbstractSocket::RemoteHostClosedError, OpenFailure::Reset},
        {QAbstractSocket::SocketAccessError, OpenFailure::Denied},
        {QAbstractSocket::AddressInUseError, OpenFailure::Busy},
        {QAbstractSocket::NetworkError, OpenFailure::Other},
    };
    for (const auto &[error, failure] : cases)
        EXPECT_EQ(NetworkSerialPort::failureFor(error), failure) << int(error);
}
