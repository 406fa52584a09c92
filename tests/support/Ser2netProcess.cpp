#include "Ser2netProcess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>

namespace {

QString ser2netPath()
{
    const QString found = QStandardPaths::findExecutable(QStringLiteral("ser2net"));
    return found.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("ser2net"), {QStringLiteral("/usr/sbin")})
                           : found;
}

} // namespace

bool Ser2netProcess::available()
{
    return !ser2netPath().isEmpty();
}

quint16 Ser2netProcess::freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

bool Ser2netProcess::listening(quint16 port)
{
    // /proc/net/tcp: "sl local_address rem_address st ...", addresses in
    // hex; 0A is LISTEN.
    QFile table(QStringLiteral("/proc/net/tcp"));
    if (!table.open(QIODevice::ReadOnly))
        return false;
    const QByteArray local = QByteArrayLiteral("0100007F:") + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const QByteArray &line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 3 && fields[1] == local && fields[3] == "0A")
            return true;
    }
    return false;
}

bool Ser2netProcess::start(Accepter accepter, const QString &device, const QString &deviceSettings)
{
    m_accepter = accepter;
    m_port = m_fixedPort ? m_fixedPort : freePort();
    const QString config = m_dir.filePath(QStringLiteral("ser2net.yaml"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) {
        m_failure = QStringLiteral("cannot write %1").arg(config);
        return false;
    }
    // Timestamps make ser2net note each accepted connection ("OPEN (ipv4,...").
    const QString trace = m_trace ? QStringLiteral("    trace-both: %1\n    trace-both-timestamp: true\n")
                                        .arg(m_dir.filePath(QStringLiteral("trace.txt")))
                                  : QString();
    const QString ssl = m_certificate.isEmpty()
                            ? QString()
                            : QStringLiteral("ssl(key=%1,cert=%2),").arg(m_key, m_certificate);
    const QString accepterText = (accepter == Accepter::Rfc2217 ? QStringLiteral("telnet(rfc2217),") : QString()) + ssl
                                 + QStringLiteral("tcp");
    file.write(QStringLiteral("%YAML 1.1\n---\n"
                              "connection: &orvex\n"
                              "  accepter: %1,127.0.0.1,%2\n"
                              "  connector: serialdev,%3,%4,local\n"
                              "  options:\n"
                              "    kickolduser: %5\n"
                              // By default ser2net holds serial bytes back a
                              // few character times to fill bigger packets,
                              // which adds to every reply.
                              "    chardelay: false\n")
                   .arg(accepterText)
                   .arg(m_port)
                   .arg(device, deviceSettings, m_kickOldUser ? QStringLiteral("true") : QStringLiteral("false"))
                   .toUtf8()
               + trace.toUtf8());
    file.close();
    return launch();
}

bool Ser2netProcess::restart()
{
    kill();
    return launch();
}

bool Ser2netProcess::launch()
{
    const QString config = m_dir.filePath(QStringLiteral("ser2net.yaml"));
    m_process.setProgram(ser2netPath());
    // -n: stay in front, -d: log to stderr, -P: no pid file in /run.
    m_process.setArguments({QStringLiteral("-n"), QStringLiteral("-d"), QStringLiteral("-c"), config,
                            QStringLiteral("-P"), m_dir.filePath(QStringLiteral("ser2net.pid"))});
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start();
    if (!m_process.waitForStarted(30000)) {
        m_failure = QStringLiteral("ser2net did not start: %1").arg(m_process.errorString());
        return false;
    }
    const QDeadlineTimer deadline(30000);
    while (!listening(m_port)) {
        if (m_process.state() == QProcess::NotRunning || deadline.hasExpired()) {
            m_failure = QStringLiteral("ser2net is not listening: %1").arg(QString::fromLocal8Bit(m_process.readAll()));
            return false;
        }
        m_process.waitForReadyRead(20); // returns early on output, else a short look
    }
    return true;
}

Ser2netProcess::~Ser2netProcess()
{
    kill();
}

void Ser2netProcess::kill()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(30000);
    }
}

int Ser2netProcess::traced(const char *event) const
{
    QFile file(m_dir.filePath(QStringLiteral("trace.txt")));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return int(file.readAll().count(event));
}

QString Ser2netProcess::address() const
{
    const QString tls = m_certificate.isEmpty() ? QString() : QStringLiteral("tls");
    const QString scheme = m_accepter == Accepter::Rfc2217 ? QStringLiteral("rfc2217") + (tls.isEmpty() ? QString() : u'+' + tls)
                                                           : (tls.isEmpty() ? QStringLiteral("tcp") : tls);
    return QStringLiteral("%1://127.0.0.1:%2").arg(scheme).arg(m_port);
}
