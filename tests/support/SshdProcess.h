#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// Debian's OpenSSH server for one test, as the far computer: on a free
// loopback port, with a host key, an authorized key, its configuration and
// pid file all in a scratch folder (run in a mount namespace of its own
// when the machine has no /run/sshd, so nothing outside is touched). The
// client side is an ssh configuration in the same folder: host "far" with
// the scratch key and known hosts, for ORVEX_SSH="ssh -F <config>".
class SshdProcess
{
public:
    // sshd, ssh and ssh-keygen are there; `why` says what is missing.
    static bool available(QString *why = nullptr);

    // Starts sshd and waits until it listens; false with the reason in
    // failure().
    bool start();
    // Stops it.
    ~SshdProcess();
    void stop();

    // Kills the server's session processes (never the server itself): the
    // path breaks as a cut cable breaks it, for client and far side alike.
    int cutSessions();

    quint16 port() const { return m_port; }
    QString folder() const { return m_dir.path(); }
    QString failure() const { return m_failure; }
    QString log() const;

    // ssh reaches the host alias `far` at loopback `port` (sshd's own by
    // default; a delay proxy's in front of it for distance), with the
    // scratch key and known hosts.
    void writeClientConfig(quint16 port);
    // Beside "far", hosts that fail as users' do: "stranger" has no known
    // host key, "wrongkey" offers a key sshd does not know, "nobody" is a
    // port nothing listens on.
    QString sshCommand() const { return QStringLiteral("ssh -F ") + m_dir.filePath(QStringLiteral("ssh_config")); }

private:
    bool run(const QString &program, const QStringList &args);

    QProcess m_process;
    QTemporaryDir m_dir;
    quint16 m_port = 0;
    QString m_failure;
};
