#include "TlsProbe.h"

#include "netserial/PortAddress.h"

#include <QEventLoop>
#include <QSslSocket>
#include <QTimer>

TlsProbe TlsProbe::run(const PortAddress &address, const TlsTrust &trust, int timeoutMs)
{
    TlsProbe probe;
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    QString problem;
    if (!trust.configure(config, problem)) {
        probe.failure = problem;
        return probe;
    }
    QSslSocket socket;
    socket.setSslConfiguration(config);
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        probe.failure = QStringLiteral("no TLS handshake within %1 s").arg(timeoutMs / 1000);
        loop.quit();
    });
    // The certificate is there when the system judges it; the handshake is
    // let go on only to hear whether the server accepts us.
    QObject::connect(&socket, &QSslSocket::sslErrors, &loop, [&](const QList<QSslError> &errors) {
        probe.errors = errors;
        probe.chain = socket.peerCertificateChain();
        socket.ignoreSslErrors();
    });
    QObject::connect(&socket, &QSslSocket::encrypted, &loop, [&] {
        probe.chain = socket.peerCertificateChain();
        loop.quit();
    });
    QObject::connect(&socket, &QSslSocket::errorOccurred, &loop, [&] {
        probe.failure = socket.errorString();
        loop.quit();
    });
    deadline.start(timeoutMs);
    socket.connectToHostEncrypted(address.host, address.port, address.host);
    loop.exec();
    socket.abort();
    return probe;
}
