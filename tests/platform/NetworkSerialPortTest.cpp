// The network port against servers in this process: raw TCP, a scripted
// RFC 2217 server, refusals, silence and a dropped connection.

#include "platform/NetworkSerialPort.h"
#include "netserial/Rfc2217Session.h"
#include "support/QtPrinters.h"
#include "support/WaitUntil.h"

#include <QElapsedTimer>
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

} // namespace

TEST(NetworkSerialPort, RawTcpCarriesFramesAndRepliesByteForByte)
{
    LoopbackServer server;
    NetworkSerialPort port;
    Events events(port);
    port.setDevicePath(server.address("tcp"));
    ASSERT_TRUE(port.open()) << port.errorString().toStdString();
    EXPECT_TRUE(port.isOpen());

    const QByteArray frame = "@WD,P00,L00," + QByteArray("\x0d\xff\x00\x19", 4) + '\r';
    port.write(frame);
    ASSERT_TRUE(waitUntil([&] { return server.received.size() >= frame.size(); }));
    EXPECT_EQ(server.received, frame) << "nothing doubled or translated on raw TCP";

    server.clients[0]->write(QByteArray("\x01\xff", 2));
    ASSERT_TRUE(waitUntil([&] { return events.seen.contains(CommEvent::DataReceived); }));
    EXPECT_EQ(port.readAll(), QByteArray("\x01\xff", 2));
    EXPECT_TRUE(port.readAll().isEmpty());
}

TEST(NetworkSerialPort, Rfc2217SetsTheFarPortBeforeTheFirstFrameAndDoublesIacs)
{
    LoopbackServer server(answerAsRfc2217Server);
    NetworkSerialPort port;
    Events events(port);
    port.setDevicePath(server.address("rfc2217"));
    ASSERT_TRUE(port.open()) << port.errorString().toStdString();

    const QByteArray frame("A\xff\r", 3);
    const QByteArray onTheWire("A\xff\xff\r", 4);
    port.write(frame);
    ASSERT_TRUE(waitUntil([&] { return server.received.endsWith(onTheWire); }));
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
    ASSERT_TRUE(waitUntil([&] { return events.seen.size() >= 1; }));
    server.clients[0]->write(QByteArray("\xff", 1) + comPort({106, 0x08}) + QByteArray("\x02", 1));
    ASSERT_TRUE(waitUntil([&] { return events.seen.contains(CommEvent::Framing); }));
    QByteArray reply;
    ASSERT_TRUE(waitUntil([&] {
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
        std::function<QString(LoopbackServer &)> address;
        QString reason;
    };
    LoopbackServer closed;
    const QString closedAddress = closed.address("tcp");
    closed.close();
    LoopbackServer silent; // accepts, never negotiates
    LoopbackServer unwilling([](QTcpSocket *c) { c->write(T::command(T::Dont, S::ComPort)); });
    const Case cases[] = {
        {"refused", [&](LoopbackServer &) { return closedAddress; }, QStringLiteral("connection refused")},
        {"silent", [&](LoopbackServer &) { return silent.address("rfc2217"); },
         QStringLiteral("did not set up the serial port")},
        {"no RFC 2217", [&](LoopbackServer &) { return unwilling.address("rfc2217"); }, QStringLiteral("RFC 2217")},
        {"not an address", [&](LoopbackServer &) { return QStringLiteral("/dev/ttyUSB0"); },
         QStringLiteral("not a network address")},
    };
    for (const Case &c : cases) {
        NetworkSerialPort port;
        port.setConnectTimeout(300);
        port.setDevicePath(c.address(silent));
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(port.open()) << c.name;
        EXPECT_LT(clock.elapsed(), 3000) << c.name;
        EXPECT_FALSE(port.isOpen()) << c.name;
        EXPECT_TRUE(port.errorString().contains(c.reason)) << c.name << ": " << port.errorString().toStdString();
    }
}

TEST(NetworkSerialPort, ADroppedConnectionClosesQuietlyAndTheNextOpenSaysWhy)
{
    LoopbackServer server;
    NetworkSerialPort port;
    Events events(port);
    port.setDevicePath(server.address("tcp"));
    ASSERT_TRUE(port.open());
    ASSERT_TRUE(waitUntil([&] { return !server.clients.isEmpty(); }));
    server.clients[0]->abort(); // the server went away
    server.close();
    ASSERT_TRUE(waitUntil([&] { return !port.isOpen(); }));
    EXPECT_TRUE(events.seen.isEmpty()) << "a vanished line is no line error";
    port.write("CS?\r"); // goes nowhere, like a frame into a pulled cable
    EXPECT_FALSE(port.open());
    EXPECT_EQ(port.errorString(), QStringLiteral("connection refused"));
}

TEST(NetworkSerialPort, ClosedWhileConnectingGivesUpAtOnce)
{
    LoopbackServer silent;
    NetworkSerialPort port;
    port.setDevicePath(silent.address("rfc2217"));
    // An event handled while the open waits (the window hidden) closes it.
    QTimer::singleShot(50, [&] { port.close(); });
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(port.open());
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_FALSE(port.isOpen());
}

TEST(NetworkSerialPort, SocketErrorsMapToTheOperatorsWords)
{
    EXPECT_EQ(NetworkSerialPort::failureFor(QAbstractSocket::HostNotFoundError), OpenFailure::Missing);
    EXPECT_EQ(NetworkSerialPort::failureFor(QAbstractSocket::SocketAccessError), OpenFailure::Denied);
    EXPECT_EQ(NetworkSerialPort::failureFor(QAbstractSocket::ConnectionRefusedError), OpenFailure::Other);
    EXPECT_EQ(NetworkSerialPort::reasonFor(QAbstractSocket::HostNotFoundError, {}), QStringLiteral("unknown host"));
    EXPECT_EQ(NetworkSerialPort::reasonFor(QAbstractSocket::UnknownSocketError, QStringLiteral("Qt's words")),
              QStringLiteral("Qt's words"));
}
