#pragma once

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

// A TCP forwarder on loopback that stands for a long network path: every
// chunk read from one side is written to the other a fixed one-way delay
// later, in order and in the chunks it came in; a side's close reaches the
// other side after the same delay. What it holds per direction is bounded:
// when the far side does not take its bytes, the proxy stops reading, and
// TCP's own flow control pushes back on the sender.
//
// Not simulated: the delay of TCP's handshake. The client's connect ends at
// once and only its first bytes meet the path's delay. That is what an SSH
// tunnel, a VPN concentrator or a proxy does; with `nearbyHandshake` the
// far end, too, is reached as through one: the connection onward is made
// one one-way delay after the client's, as the tunnel's far end makes it
// when the request has crossed the path, so the server sees the client
// late and nothing of the path is measured while connecting.
class DelayProxy : public QObject
{
public:
    enum class Handshake { Instant, Nearby };

    // Bytes one direction holds, in the delay line and the socket's write
    // buffer together, before it stops reading.
    static constexpr qint64 HeldLimit = 256 * 1024;

    DelayProxy(const QHostAddress &targetHost, quint16 targetPort, int oneWayMs,
               Handshake handshake = Handshake::Instant, QObject *parent = nullptr);

    // Listens on loopback `port` (0: any free one); false with the reason in
    // errorString().
    bool listen(quint16 port = 0);
    quint16 port() const { return m_server.serverPort(); }
    QString errorString() const { return m_server.errorString(); }

private:
    void accept();

    QTcpServer m_server;
    QHostAddress m_targetHost;
    quint16 m_targetPort;
    int m_oneWayMs;
    Handshake m_handshake;
};
