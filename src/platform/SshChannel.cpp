#include "SshChannel.h"

#include "netserial/PortAddress.h"
#include "netserial/SshCommand.h"

namespace {

// Enough of ssh's error output for its reason; a far side that talks on
// and on is not kept.
constexpr qsizetype MaxSaid = 16 * 1024;

} // namespace

SshChannel::SshChannel()
{
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process,
                     [this] { notify(Event::DataReceived); });
    QObject::connect(&m_process, &QProcess::readyReadStandardError, &m_process, [this] {
        m_said += m_process.readAllStandardError();
        if (m_said.size() > MaxSaid)
            m_said = m_said.right(MaxSaid);
    });
    QObject::connect(&m_process, &QProcess::finished, &m_process, [this](int code, QProcess::ExitStatus status) {
        m_said += m_process.readAllStandardError();
        ended(status == QProcess::NormalExit ? code : -1);
    });
    QObject::connect(&m_process, &QProcess::errorOccurred, &m_process, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            m_said += m_process.errorString().toLocal8Bit();
            ended(-1);
        }
    });
}

SshChannel::~SshChannel()
{
    m_process.disconnect();
    stop();
}

void SshChannel::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    // Its input ended, the far side records what it was doing and stops,
    // and ssh with it; a far side that does not is not waited for long.
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
}

void SshChannel::start(const QString &address)
{
    stop();
    m_said.clear();
    m_exitCode = -1;
    m_ended = false;
    const SshCommand command = SshCommand::build(PortAddress::parse(address), qEnvironmentVariable("ORVEX_SSH"),
                                                 qEnvironmentVariable("ORVEX_REMOTE_PROGRAM"));
    if (command.program.isEmpty()) {
        m_said = "ORVEX_SSH names no command";
        ended(-1);
        return;
    }
    m_process.setProgram(command.program);
    m_process.setArguments(command.arguments);
    m_process.start(QIODevice::ReadWrite);
}

void SshChannel::write(const QByteArray &bytes)
{
    if (m_process.state() != QProcess::NotRunning)
        m_process.write(bytes);
}

void SshChannel::close()
{
    // Closed on purpose: no Ended follows.
    m_ended = true;
    stop();
}

void SshChannel::ended(int code)
{
    if (m_ended)
        return;
    m_ended = true;
    m_exitCode = code;
    notify(Event::Ended);
}
