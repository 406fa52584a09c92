#pragma once

#include "netserial/PortAddress.h"
#include "netserial/Rfc2217Session.h"
#include "netserial/RoundTripEstimator.h"
#include "link/LinkTimer.h"
#include "link/SerialPort.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>

#include <memory>
#include <optional>

// A serial line behind a network serial server (ser2net, an RS-232 to
// Ethernet box), reached by raw TCP or by telnet with RFC 2217. It keeps its
// connection between operations and connects in the background:
// startOpen() returns Pending and CommEvent::Opened or OpenFailed follows.
//
// An open succeeds only once the line is ours: connected, over RFC 2217
// every setting confirmed, and the server silent for about one round trip.
// A server that cannot give us the line says so in text on the fresh
// connection (ser2net: "Port already in use"); those bytes are never a
// reply, they fail the open with the server's words.
//
// A connection that drops later closes the port quietly, so the next open
// says why; one unused for IdleCloseMs closes itself. At most MaxHeldInput
// received bytes are ever held.
class NetworkSerialPort : public QObject, public SerialPort
{
    Q_OBJECT
public:
    // A reply is two or three bytes; more than this waiting unread is a
    // flood, not an answer.
    static constexpr int MaxHeldInput = 4096;
    static constexpr int IdleCloseMs = 30000;
    // Least wait for a server's text after connecting, however near the
    // server: it writes only after accepting, a moment after our connect.
    static constexpr int MinSettleMs = 50;

    explicit NetworkSerialPort(QObject *parent = nullptr);
    ~NetworkSerialPort() override;

    void configure(const LineSettings &settings) override;
    void setPortNumber(int number) override;
    // A tcp:// or rfc2217:// address.
    void setDevicePath(const QString &path) override;
    QString devicePath() const override;

    // Starts connecting; true only when the port is already open.
    bool open() override;
    OpenProgress startOpen() override;
    void close() override;
    bool isOpen() const override;
    QString errorString() const override;
    OpenFailure openFailure() const override;

    void write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    void discardInput() override;

    bool keepsConnection() const override { return true; }
    int replyTimeout() const override { return m_roundTrip.replyTimeout(); }
    int guardTime() const override { return m_roundTrip.guardTime(); }
    int roundTrip() const override { return m_roundTrip.smoothed(); }
    void addRoundTripSample(int milliseconds) override { m_roundTrip.addSample(milliseconds); }

    // The timer of the idle close (a QtLinkTimer unless a test gives one
    // on a virtual clock); set to IdleCloseMs, restarted by every use.
    void setIdleTimer(std::unique_ptr<LinkTimer> timer);

    // What an open failure of the socket is to the operator.
    static OpenFailure failureFor(QAbstractSocket::SocketError error);

private:
    enum class Phase { Closed, Connecting, Negotiating, Settling, Open };

    void onConnected();
    void onReadyRead();
    void onLineGone();
    void onSettled();
    void restartIdle();
    void opened();
    void failOpen(OpenFailure failure, const QString &reason);
    // The server's own words, when it sent any before our first frame.
    bool failIfServerSpoke();

    QTcpSocket m_socket;
    QTimer m_settle;
    std::unique_ptr<LinkTimer> m_idle;
    QElapsedTimer m_connectClock;
    RoundTripEstimator m_roundTrip;
    LineSettings m_settings;
    QString m_text;
    PortAddress m_address;
    std::optional<Rfc2217Session> m_telnet;
    Phase m_phase = Phase::Closed;
    bool m_starting = false; // inside startOpen(): failures are its result
    QByteArray m_input;
    QByteArray m_notice; // what the server said before our first frame
    QString m_error;
    OpenFailure m_failure = OpenFailure::None;
};
