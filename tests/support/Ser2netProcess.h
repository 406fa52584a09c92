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
    ~Ser2netProcess();

    QString address() const;
    quint16 port() const { return m_port; }
    QString failure() const { return m_failure; }
    // Kills it outright, as a server switched off.
    void kill();

    // Whether something listens on loopback `port`, from the kernel's table.
    static bool listening(quint16 port);

private:
    QProcess m_process;
    QTemporaryDir m_dir;
    Accepter m_accepter = Accepter::RawTcp;
    quint16 m_port = 0;
    QString m_failure;
};
