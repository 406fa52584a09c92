#include "NetworkSerialPort.h"

#include "netserial/SerialPortNames.h"

#include <QEventLoop>
#include <QTimer>

NetworkSerialPort::NetworkSerialPort(QObject *parent) : QObject(parent)
{
    connect(&m_socket, &QTcpSocket::readyRead, this, &NetworkSerialPort::onReadyRead);
    connect(&m_socket, &QTcpSocket::disconnected, this, &NetworkSerialPort::onLineGone);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &NetworkSerialPort::onLineGone);
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

bool NetworkSerialPort::failOpen(OpenFailure failure, const QString &reason)
{
    m_socket.abort();
    m_telnet.reset();
    m_failure = failure;
    m_error = reason;
    return false;
}

bool NetworkSerialPort::open()
{
    if (m_open)
        return true;
    if (!m_address.isNetwork())
        return failOpen(OpenFailure::Other,
                        m_address.error.isEmpty() ? QStringLiteral("not a network address") : m_address.error);
    m_input.clear();
    m_cancelled = false;
    if (m_address.kind == PortAddress::Kind::Rfc2217)
        m_telnet.emplace(m_settings);
    else
        m_telnet.reset();

    // A local loop keeps the window painting and the timers running while
    // the server is slow to answer, but never longer than the time-out.
    m_opening = true;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    bool timedOut = false;
    connect(&deadline, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    const auto settled = [this] {
        if (m_socket.state() != QAbstractSocket::ConnectedState || m_cancelled)
            return true;
        return !m_telnet || m_telnet->ready() || !m_telnet->failure().isEmpty();
    };
    const QMetaObject::Connection onConnected = connect(&m_socket, &QTcpSocket::connected, &loop, [&] {
        m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        if (m_telnet) {
            m_socket.write(m_telnet->start());
            m_socket.flush();
        }
        if (settled())
            loop.quit();
    });
    const QMetaObject::Connection onData = connect(&m_socket, &QTcpSocket::readyRead, &loop, [&] {
        if (settled())
            loop.quit();
    });
    // Refused, unreachable, or closed by close() from an event that ran
    // meanwhile: the socket falls back to unconnected.
    const QMetaObject::Connection onState =
        connect(&m_socket, &QTcpSocket::stateChanged, &loop, [&](QAbstractSocket::SocketState state) {
            if (state == QAbstractSocket::UnconnectedState)
                loop.quit();
        });
    deadline.start(m_connectTimeoutMs);
    m_socket.connectToHost(m_address.host, m_address.port);
    if (m_socket.state() != QAbstractSocket::UnconnectedState)
        loop.exec();
    disconnect(onConnected);
    disconnect(onData);
    disconnect(onState);
    m_opening = false;

    if (m_cancelled)
        return failOpen(OpenFailure::Other, QStringLiteral("closed while connecting"));
    if (m_socket.state() != QAbstractSocket::ConnectedState) {
        if (timedOut)
            return failOpen(OpenFailure::Other,
                            QStringLiteral("no answer within %1 s").arg(m_connectTimeoutMs / 1000.0));
        return failOpen(failureFor(m_socket.error()), reasonFor(m_socket.error(), m_socket.errorString()));
    }
    if (m_telnet && !m_telnet->failure().isEmpty())
        return failOpen(OpenFailure::Other, m_telnet->failure());
    if (m_telnet && !m_telnet->ready())
        return failOpen(OpenFailure::Other,
                        QStringLiteral("the server did not set up the serial port within %1 s")
                            .arg(m_connectTimeoutMs / 1000.0));
    m_open = true;
    m_failure = OpenFailure::None;
    m_error.clear();
    return true;
}

void NetworkSerialPort::close()
{
    if (m_opening)
        m_cancelled = true;
    m_open = false;
    m_socket.abort();
    m_telnet.reset();
    m_input.clear();
}

bool NetworkSerialPort::isOpen() const
{
    return m_open;
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
    if (!m_open)
        return;
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

void NetworkSerialPort::onReadyRead()
{
    const QByteArray bytes = m_socket.readAll();
    if (bytes.isEmpty())
        return;
    QList<CommEvent> events;
    if (m_telnet) {
        Rfc2217Session::Received received = m_telnet->receive(bytes);
        if (!received.reply.isEmpty()) {
            m_socket.write(received.reply);
            m_socket.flush();
        }
        m_input += received.data;
        events = received.events;
    } else {
        m_input += bytes;
    }
    if (m_opening)
        return; // the open's own business; replies come only after a frame
    for (CommEvent event : events)
        notify(event);
    if (!m_input.isEmpty())
        notify(CommEvent::DataReceived);
}

void NetworkSerialPort::onLineGone()
{
    // While opening, the open reports it; afterwards the connection is a
    // cable that went: close without a word, the resend's open says why.
    if (m_opening || !m_open)
        return;
    m_open = false;
    m_socket.abort();
    m_telnet.reset();
}

OpenFailure NetworkSerialPort::failureFor(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::HostNotFoundError: return OpenFailure::Missing;
    case QAbstractSocket::SocketAccessError: return OpenFailure::Denied;
    case QAbstractSocket::AddressInUseError: return OpenFailure::Busy;
    default: return OpenFailure::Other;
    }
}

QString NetworkSerialPort::reasonFor(QAbstractSocket::SocketError error, const QString &qtText)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return QStringLiteral("connection refused");
    case QAbstractSocket::HostNotFoundError: return QStringLiteral("unknown host");
    case QAbstractSocket::RemoteHostClosedError: return QStringLiteral("the server closed the connection");
    case QAbstractSocket::NetworkError: return QStringLiteral("network unreachable");
    default: return qtText;
    }
}
