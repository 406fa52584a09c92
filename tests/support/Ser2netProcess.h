#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// Debian's ser2net for one test, in front of a device (the simulator's
// pseudo-terminal), on a free loopback port. Its configuration goes into a
// scratch folder; every wait is bounded polling, never a fixed sleep.
class Ser2netProcess
{
public:
    enum class Accepter { RawTcp, Rfc2217 };

    static bool available();
    // A loopback port nobody listens on right now.
    static quint16 freePort();

    // Starts ser2net with the device set to `deviceSettings` (e.g.
    // "19200n81") and waits until it listens; false with the reason in
    // failure().
    bool start(Accepter accepter, const QString &device, const QString &deviceSettings = QStringLiteral("9600n81"));
    // Kills it and starts it again on the same port, as a server restarted.
    bool restart();
    // Before start(): whether a new client kicks the one connected (the
    // default here) or is turned away with ser2net's "Port already in use".
    void setKickOldUser(bool kick) { m_kickOldUser = kick; }
    // Before start(): keep ser2net's trace of the line, which also notes
    // every connection it accepts.
    void setTraceConnections(bool trace) { m_trace = trace; }
    // Before start(): listen on `port` (a server restarted on its address)
    // rather than on a free one.
    void setPort(quint16 port) { m_fixedPort = port; }
    // Before start(): serve inside TLS with this certificate and key (PEM
    // files); address() is then tls:// or rfc2217+tls://.
    void setTls(const QString &certificate, const QString &key)
    {
        m_certificate = certificate;
        m_key = key;
    }
    // With the trace: the connections ser2net has accepted, and those it
    // has seen end, so far.
    int connectionsAccepted() const { return traced(" OPEN ("); }
    int connectionsEnded() const { return traced(" CLOSE netcon "); }
    ~Ser2netProcess();

    QString address() const;
    quint16 port() const { return m_port; }
    QString failure() const { return m_failure; }
    // Kills it outright, as a server switched off.
    void kill();

    // Whether something listens on loopback `port`, from the kernel's table.
    static bool listening(quint16 port);

private:
    bool launch();
    int traced(const char *event) const;

    QProcess m_process;
    QTemporaryDir m_dir;
    Accepter m_accepter = Accepter::RawTcp;
    quint16 m_port = 0;
    QString m_failure;
    bool m_kickOldUser = true;
    bool m_trace = false;
    QString m_certificate;
    QString m_key;
    quint16 m_fixedPort = 0;
};
