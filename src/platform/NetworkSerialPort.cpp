#include "NetworkSerialPort.h"

#include "QtLinkTimer.h"

#include "netserial/SerialPortNames.h"
#include "netserial/ServerNotice.h"

#include <algorithm>

namespace {

// Qt's own read buffer stays small too: a server that floods us is read
// and dropped, never collected.
constexpr qint64 SocketReadBuffer = 16 * 1024;
// Enough of a server's text to tell what it is; the rest is not kept.
constexpr qsizetype NoticeBytes = 256;

// The first bytes of `more` that still fit after `held` bytes of `limit`.
QByteArray fitting(const QByteArray &more, qsizetype held, qsizetype limit)
{
    return more.left(std::max<qsizetype>(0, limit - held));
}

} // namespace

NetworkSerialPort::NetworkSerialPort(QObject *parent) : QObject(parent)
{
    m_socket.setReadBufferSize(SocketReadBuffer);
    connect(&m_socket, &QTcpSocket::connected, this, &NetworkSerialPort::onConnected);
    connect(&m_socket, &QTcpSocket::readyRead, this, &NetworkSerialPort::onReadyRead);
    connect(&m_socket, &QTcpSocket::disconnected, this, &NetworkSerialPort::onLineGone);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &NetworkSerialPort::onLineGone);
    m_settle.setSingleShot(true);
    connect(&m_settle, &QTimer::timeout, this, &NetworkSerialPort::onSettled);
    setIdleTimer(std::make_unique<QtLinkTimer>());
}

void NetworkSerialPort::setIdleTimer(std::unique_ptr<LinkTimer> timer)
{
    const bool running = m_idle && m_idle->isEnabled();
    m_idle = std::move(timer);
    m_idle->setInterval(IdleCloseMs);
    m_idle->setTickHandler([this] { close(); });
    m_idle->setEnabled(running);
}

void NetworkSerialPort::restartIdle()
{
    m_idle->setEnabled(false);
    m_idle->setEnabled(true);
}

NetworkSerialPort::~NetworkSerialPort()
{
    m_socket.disconnect(this);
    m_socket.abort();
}

void NetworkSerialPort::configure(const LineSettings &settings)
{
    m_settings = settings;
}

void NetworkSerialPort::setPortNumber(int number)
{
    setDevicePath(SerialPortNames::deviceForPort(number));
}

void NetworkSerialPort::setDevicePath(const QString &path)
{
    m_text = path;
    m_address = PortAddress::parse(path);
}

QString NetworkSerialPort::devicePath() const
{
    return m_text;
}

bool NetworkSerialPort::open()
{
    return startOpen() == OpenProgress::Opened;
}

OpenProgress NetworkSerialPort::startOpen()
{
    if (m_phase == Phase::Open)
        return OpenProgress::Opened;
    if (m_phase != Phase::Closed)
        return OpenProgress::Pending;
    if (!m_address.isNetwork()) {
        m_failure = OpenFailure::Other;
        m_error = m_address.error.isEmpty() ? QStringLiteral("not a network address") : m_address.error;
        return OpenProgress::Failed;
    }
    m_input.clear();
    m_notice.clear();
    if (m_address.kind == PortAddress::Kind::Rfc2217)
        m_telnet.emplace(m_settings);
    else
        m_telnet.reset();
    m_phase = Phase::Connecting;
    m_starting = true;
    m_connectClock.start();
    m_socket.connectToHost(m_address.host, m_address.port);
    m_starting = false;
    return m_phase == Phase::Closed ? OpenProgress::Failed : OpenProgress::Pending;
}

void NetworkSerialPort::onConnected()
{
    if (m_phase != Phase::Connecting)
        return;
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    // The connect took one round trip: the first measure of the path.
    m_roundTrip.addSample(int(m_connectClock.elapsed()));
    if (m_telnet) {
        m_phase = Phase::Negotiating;
        m_socket.write(m_telnet->start());
        m_socket.flush();
        return;
    }
    // A server's text sent as it accepted us arrives about one round trip
    // after our connect completed.
    m_phase = Phase::Settling;
    m_settle.start(std::max(MinSettleMs, m_roundTrip.guardTime()));
}

void NetworkSerialPort::onReadyRead()
{
    const QByteArray bytes = m_socket.readAll();
    if (bytes.isEmpty() || m_phase == Phase::Closed || m_phase == Phase::Connecting)
        return;
    QByteArray data = bytes;
    QList<CommEvent> events;
    if (m_telnet) {
        Rfc2217Session::Received received = m_telnet->receive(bytes);
        if (!received.reply.isEmpty()) {
            m_socket.write(received.reply);
            m_socket.flush();
        }
        data = received.data;
        events = received.events;
    }

    if (m_phase != Phase::Open) {
        m_notice += fitting(data, m_notice.size(), NoticeBytes);
        if (m_telnet && !m_telnet->failure().isEmpty())
            failOpen(OpenFailure::ServerRefused, m_telnet->failure());
        // Over RFC 2217 the negotiation has taken a round trip and more:
        // any text sent on accepting has arrived before its last answer.
        else if (m_phase == Phase::Negotiating && m_telnet->ready() && !failIfServerSpoke())
            opened();
        return;
    }

    if (m_telnet && !m_telnet->failure().isEmpty()) {
        // The server broke the protocol (an endless negotiation, say): the
        // connection is no line any more. The resend's open says why.
        close();
        return;
    }
    for (CommEvent event : events)
        notify(event);
    if (data.isEmpty())
        return;
    m_input += fitting(data, m_input.size(), MaxHeldInput);
    notify(CommEvent::DataReceived);
}

void NetworkSerialPort::onSettled()
{
    if (m_phase == Phase::Settling && !failIfServerSpoke())
        opened();
}

bool NetworkSerialPort::failIfServerSpoke()
{
    if (m_notice.isEmpty())
        return false;
    failOpen(OpenFailure::ServerRefused, ServerNotice::describe(m_notice));
    return true;
}

void NetworkSerialPort::opened()
{
    m_phase = Phase::Open;
    m_failure = OpenFailure::None;
    m_error.clear();
    restartIdle();
    notify(CommEvent::Opened);
}

void NetworkSerialPort::failOpen(OpenFailure failure, const QString &reason)
{
    m_phase = Phase::Closed;
    m_settle.stop();
    m_socket.abort();
    m_telnet.reset();
    m_failure = failure;
    m_error = reason;
    // Inside startOpen() the failure is its return value.
    if (!m_starting)
        notify(CommEvent::OpenFailed);
}

void NetworkSerialPort::close()
{
    m_phase = Phase::Closed;
    m_settle.stop();
    m_idle->setEnabled(false);
    m_socket.abort();
    m_telnet.reset();
    m_input.clear();
}

bool NetworkSerialPort::isOpen() const
{
    return m_phase == Phase::Open;
}

QString NetworkSerialPort::errorString() const
{
    return m_error;
}

OpenFailure NetworkSerialPort::openFailure() const
{
    return m_failure;
}

void NetworkSerialPort::write(const QByteArray &bytes)
{
    // As with a cable pulled an instant ago, a frame for a connection that
    // is gone goes nowhere; the reply time-out deals with it.
    if (m_phase != Phase::Open)
        return;
    restartIdle();
    m_socket.write(m_telnet ? Rfc2217Session::encode(bytes) : bytes);
    // Each frame leaves now, not when the event loop next runs.
    m_socket.flush();
}

QByteArray NetworkSerialPort::readAll()
{
    return std::exchange(m_input, {});
}

void NetworkSerialPort::discardInput()
{
    m_input.clear();
}

void NetworkSerialPort::onLineGone()
{
    switch (m_phase) {
    case Phase::Closed: return;
    case Phase::Connecting:
        failOpen(failureFor(m_socket.error()), m_socket.errorString());
        return;
    case Phase::Negotiating:
    case Phase::Settling:
        // A server that closes right after its text has still said why.
        if (failIfServerSpoke())
            return;
        if (m_telnet && !m_telnet->failure().isEmpty())
            failOpen(OpenFailure::ServerRefused, m_telnet->failure());
        else
            failOpen(OpenFailure::Reset, m_socket.errorString());
        return;
    case Phase::Open:
        // A cable that went: close without a word, the resend's open says
        // why.
        close();
        return;
    }
}

OpenFailure NetworkSerialPort::failureFor(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return OpenFailure::Refused;
    case QAbstractSocket::HostNotFoundError: return OpenFailure::UnknownHost;
    case QAbstractSocket::SocketTimeoutError: return OpenFailure::NoAnswer;
    case QAbstractSocket::RemoteHostClosedError: return OpenFailure::Reset;
    case QAbstractSocket::SocketAccessError: return OpenFailure::Denied;
    case QAbstractSocket::AddressInUseError: return OpenFailure::Busy;
    default: return OpenFailure::Other;
    }
}
