#include "SshdProcess.h"

#include "Ser2netProcess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <csignal>

namespace {

const QString Sshd = QStringLiteral("/usr/sbin/sshd");

bool writeFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

} // namespace

bool SshdProcess::available(QString *why)
{
    for (const QString &program : {Sshd, QStandardPaths::findExecutable(QStringLiteral("ssh")),
                                   QStandardPaths::findExecutable(QStringLiteral("ssh-keygen"))}) {
        if (program.isEmpty() || !QFileInfo(program).isExecutable()) {
            if (why)
                *why = QStringLiteral("OpenSSH (openssh-server, openssh-client) is not installed");
            return false;
        }
    }
    return true;
}

bool SshdProcess::run(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        m_failure = program + QStringLiteral(": ") + QString::fromLocal8Bit(process.readAllStandardError());
        return false;
    }
    return true;
}

bool SshdProcess::start()
{
    const QString dir = m_dir.path();
    const auto path = [&dir](const char *name) { return dir + u'/' + QLatin1String(name); };
    for (const char *key : {"host_key", "client_key", "other_key"})
        if (!run(QStringLiteral("ssh-keygen"), {QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("ed25519"),
                                                QStringLiteral("-N"), QString(), QStringLiteral("-f"), path(key)}))
            return false;
    QFile clientPub(path("client_key.pub")), hostPub(path("host_key.pub"));
    if (!clientPub.open(QIODevice::ReadOnly) || !hostPub.open(QIODevice::ReadOnly))
        return false;
    const QByteArray hostKey = hostPub.readAll().trimmed();
    if (!writeFile(path("authorized_keys"), clientPub.readAll())
        || !writeFile(path("known_hosts"), "far " + hostKey + '\n') || !writeFile(path("no_known_hosts"), {}))
        return false;

    m_port = Ser2netProcess::freePort();
    const QString config = QStringLiteral("Port %1\nListenAddress 127.0.0.1\nHostKey %2\nAuthorizedKeysFile %3\n"
                                          "StrictModes no\nPermitRootLogin yes\nUsePAM no\nPidFile %4\n"
                                          "PasswordAuthentication no\nKbdInteractiveAuthentication no\n"
                                          "PubkeyAuthentication yes\nLogLevel VERBOSE\n")
                               .arg(m_port)
                               .arg(path("host_key"), path("authorized_keys"), path("sshd.pid"));
    if (!writeFile(path("sshd_config"), config.toUtf8()))
        return false;
    writeClientConfig(m_port);

    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.setStandardErrorFile(path("sshd.log"));
    const QString sshd = QStringLiteral("exec %1 -D -e -f %2").arg(Sshd, path("sshd_config"));
    if (QFileInfo::exists(QStringLiteral("/run/sshd"))) {
        m_process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), sshd});
    } else {
        // Debian's sshd insists on /run/sshd; a /run of its own in a private
        // mount namespace gives it one without touching the machine's.
        m_process.start(QStringLiteral("unshare"),
                        {QStringLiteral("-m"), QStringLiteral("/bin/sh"), QStringLiteral("-c"),
                         QStringLiteral("mount -t tmpfs tmpfs /run && mkdir /run/sshd && ") + sshd});
    }
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        if (Ser2netProcess::listening(m_port))
            return true;
        if (m_process.state() == QProcess::NotRunning || m_process.waitForFinished(50)) {
            m_failure = QStringLiteral("sshd ended: ") + log();
            return false;
        }
    }
    m_failure = QStringLiteral("sshd did not listen in time: ") + log();
    return false;
}

void SshdProcess::writeClientConfig(quint16 port)
{
    const QString dir = m_dir.path();
    QString config;
    const auto host = [&](const char *alias, quint16 at, const char *key, const char *known) {
        config += QStringLiteral("Host %1\n  HostName 127.0.0.1\n  Port %2\n  User root\n  IdentityFile %3/%4\n"
                                 "  IdentitiesOnly yes\n  UserKnownHostsFile %3/%5\n  GlobalKnownHostsFile /dev/null\n"
                                 "  HostKeyAlias far\n  StrictHostKeyChecking yes\n  LogLevel ERROR\n"
                                 "  ConnectTimeout 10\n")
                      .arg(QLatin1String(alias))
                      .arg(at)
                      .arg(dir, QLatin1String(key), QLatin1String(known));
    };
    host("far", port, "client_key", "known_hosts");
    host("stranger", port, "client_key", "no_known_hosts");
    host("wrongkey", port, "other_key", "known_hosts");
    host("nobody", Ser2netProcess::freePort(), "client_key", "known_hosts");
    writeFile(dir + QStringLiteral("/ssh_config"), config.toUtf8());
}

QString SshdProcess::log() const
{
    QFile file(m_dir.filePath(QStringLiteral("sshd.log")));
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
}

int SshdProcess::cutSessions()
{
    const qint64 pid = m_process.processId();
    if (pid <= 0)
        return 0;
    QFile children(QStringLiteral("/proc/%1/task/%1/children").arg(pid));
    if (!children.open(QIODevice::ReadOnly))
        return 0;
    int cut = 0;
    for (const QByteArray &child : children.readAll().simplified().split(' ')) {
        bool ok = false;
        const int session = child.toInt(&ok);
        if (ok && session > 1 && ::kill(session, SIGKILL) == 0)
            ++cut;
    }
    return cut;
}

void SshdProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(2000);
    }
}

SshdProcess::~SshdProcess()
{
    stop();
}
