#include "NetworkSerialPort.h"

#include "QtLinkTimer.h"

#include "netserial/SerialPortNames.h"
#include "netserial/ServerNotice.h"
#include "netserial/TelnetCodec.h"

#include <algorithm>

using LinkMessages::TlsRefusal;

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
    connect(&m_socket, &QSslSocket::encrypted, this, &NetworkSerialPort::onEncrypted);
    connect(&m_socket, &QSslSocket::sslErrors, this, &NetworkSerialPort::onSslErrors);
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
    m_afterIac = false;
    m_unknownCertificate.clear();
    if (std::exchange(m_droppedAtFirstFrame, false)) {
        m_failure = OpenFailure::Tls;
        m_error = LinkMessages::tlsRefused(m_text, TlsRefusal::PlainAgainstTls, m_error);
        return OpenProgress::Failed;
    }
    if (m_address.speaksTelnet())
        m_telnet.emplace(m_settings);
    else
        m_telnet.reset();
    m_phase = Phase::Connecting;
    m_starting = true;
    m_wroteOnce = m_receivedOnce = false;
    m_connectClock.start();
    if (!m_address.isEncrypted())
        m_socket.connectToHost(m_address.host, m_address.port);
    else if (startTls())
        m_socket.connectToHostEncrypted(m_address.host, m_address.port, m_address.host);
    m_starting = false;
    return m_phase == Phase::Closed ? OpenProgress::Failed : OpenProgress::Pending;
}

bool NetworkSerialPort::startTls()
{
    // Read at every open: a certificate trusted a moment ago, from the
    // window or the tool, counts at once.
    TlsTrustStore store;
    if (!store.load()) {
        failTls(TlsRefusal::StoreUnusable, store.error());
        return false;
    }
    m_trust = store.trust(m_address.endpoint());
    m_sslErrorsSeen = false;
    m_refusal.reset();
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    QString problem;
    if (!m_trust.configure(config, problem)) {
        failTls(TlsRefusal::ClientUnusable, problem);
        return false;
    }
    m_socket.setSslConfiguration(config);
    return true;
}

void NetworkSerialPort::onSslErrors(const QList<QSslError> &errors)
{
    m_sslErrorsSeen = true;
    const TlsVerdict verdict = TlsVerdict::judge(m_socket.peerCertificate(), errors, m_trust);
    if (verdict.trusted())
        m_socket.ignoreSslErrors();
    else
        m_refusal = verdict; // the handshake fails; onLineGone says why
}

void NetworkSerialPort::onEncrypted()
{
    if (m_phase != Phase::Handshaking)
        return;
    // Without faults Qt asks nothing: a pin must still hold.
    if (!m_sslErrorsSeen) {
        const TlsVerdict verdict = TlsVerdict::judge(m_socket.peerCertificate(), {}, m_trust);
        if (!verdict.trusted()) {
            m_refusal = verdict;
            failBrokenTls();
            return;
        }
    }
    onLineReady();
}

void NetworkSerialPort::failTls(TlsRefusal why, const QString &systemText)
{
    failOpen(OpenFailure::Tls, LinkMessages::tlsRefused(m_text, why, systemText));
}

void NetworkSerialPort::failBrokenTls()
{
    if (const std::optional<TlsVerdict> refusal = std::exchange(m_refusal, std::nullopt)) {
        using Kind = TlsVerdict::Kind;
        switch (refusal->kind) {
        case Kind::Changed:
            failOpen(OpenFailure::Tls, LinkMessages::certificateChanged(m_text, refusal->pinned, refusal->fingerprint));
            return;
        case Kind::Unknown:
            // Set before the failure is told: whoever hears it asks for it.
            m_unknownCertificate = refusal->fingerprint;
            failOpen(OpenFailure::Tls,
                     LinkMessages::tlsRefused(m_text, TlsRefusal::Unknown, refusal->systemText, refusal->fingerprint));
            return;
        case Kind::Expired: failTls(TlsRefusal::Expired, refusal->systemText); return;
        case Kind::NotYetValid: failTls(TlsRefusal::NotYetValid, refusal->systemText); return;
        case Kind::WrongName: failTls(TlsRefusal::WrongName, refusal->systemText); return;
        case Kind::Trusted: break;
        }
    }
    // OpenSSL names the alert a server sends when it wants a certificate
    // from us ("certificate required", "handshake failure" after a request).
    // Others just close once they have shown theirs.
    const QString said = m_socket.errorString();
    const bool noCertificateOfOurs = m_trust.clientCert.isEmpty();
    if (noCertificateOfOurs && said.contains(QLatin1String("certificate"), Qt::CaseInsensitive))
        failTls(TlsRefusal::ClientWanted, said);
    else if (noCertificateOfOurs && !m_socket.peerCertificate().isNull()
             && m_socket.error() == QAbstractSocket::RemoteHostClosedError)
        failTls(TlsRefusal::ClosedAfterHello, said);
    else
        failTls(TlsRefusal::Handshake, said);
}

void NetworkSerialPort::onConnected()
{
    if (m_phase != Phase::Connecting)
        return;
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    // The connect took a round trip, unless something near us answered
    // for the server: a floor for the path, not its measure.
    m_roundTrip.noteConnect(int(m_connectClock.elapsed()));
    if (m_address.isEncrypted()) {
        m_phase = Phase::Handshaking;
        m_settle.start(std::max(HandshakeMs, 6 * m_roundTrip.smoothed()));
        return;
    }
    onLineReady();
}

void NetworkSerialPort::onLineReady()
{
    m_settle.stop();
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
    if (bytes.isEmpty() || m_phase == Phase::Closed || m_phase == Phase::Connecting || m_phase == Phase::Handshaking)
        return;
    m_receivedOnce = true;
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
    // A raw connection carries no telnet: a server speaking it there is no
    // unit answering, whatever its bytes count to.
    if (!m_telnet && holdsTelnetCommand(data))
        notify(CommEvent::ForeignData);
    m_input += fitting(data, m_input.size(), MaxHeldInput);
    notify(CommEvent::DataReceived);
}

bool NetworkSerialPort::holdsTelnetCommand(const QByteArray &bytes)
{
    bool found = false;
    for (const char c : bytes) {
        const quint8 byte = quint8(c);
        // IAC then a command (SE .. DONT); IAC IAC is a data byte 0xFF.
        if (m_afterIac && byte >= TelnetCodec::Se && byte < TelnetCodec::Iac)
            found = true;
        m_afterIac = !m_afterIac && byte == TelnetCodec::Iac;
    }
    return found;
}

void NetworkSerialPort::onSettled()
{
    if (m_phase == Phase::Handshaking)
        failTls(TlsRefusal::NoAnswer, QString());
    else if (m_phase == Phase::Settling && !failIfServerSpoke())
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
    m_wroteOnce = true;
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
    case Phase::Handshaking:
        failBrokenTls();
        return;
    case Phase::Negotiating:
    case Phase::Settling:
        // A server that closes right after its text has still said why.
        if (failIfServerSpoke())
            return;
        if (m_telnet && !m_telnet->failure().isEmpty())
            failOpen(OpenFailure::ServerRefused, m_telnet->failure());
        else if (m_address.isEncrypted())
            failBrokenTls(); // a server that wants a certificate says so after the handshake
        else if (m_telnet && !m_receivedOnce)
            // A TLS server drops, unanswered, a negotiation it cannot read.
            failTls(TlsRefusal::PlainAgainstTls, m_socket.errorString());
        else
            failOpen(OpenFailure::Reset, m_socket.errorString());
        return;
    case Phase::Open:
        // A plain connection dropped at our first frame without a byte
        // back is a TLS server's way with bytes it cannot read.
        m_droppedAtFirstFrame = !m_address.isEncrypted() && m_wroteOnce && !m_receivedOnce;
        if (m_droppedAtFirstFrame)
            m_error = m_socket.errorString();
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
