#include "SimProcess.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>

#include <csignal>

QString SimProcess::buildDir()
{
    return qEnvironmentVariable("ORVEX_BUILD_DIR");
}

bool SimProcess::start(const QStringList &options)
{
    m_sim.setProgram(simPath());
    m_sim.setArguments(options + QStringList{QStringLiteral("--state"), m_dir.filePath(QStringLiteral("state.json")),
                                             QStringLiteral("--snapshot"), m_dir.filePath(QStringLiteral("shots"))});
    m_sim.start();
    if (!m_sim.waitForStarted(30000))
        return false;
    const QDeadlineTimer deadline(30000);
    while (!m_sim.canReadLine()) {
        if (deadline.hasExpired() || !m_sim.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    m_device = QString::fromLocal8Bit(m_sim.readLine()).trimmed();
    return !m_device.isEmpty();
}

SimProcess::~SimProcess()
{
    if (m_sim.state() != QProcess::NotRunning) {
        m_sim.kill();
        m_sim.waitForFinished(30000);
    }
}

QJsonObject SimProcess::stopAndReadState()
{
    m_sim.terminate();
    m_sim.waitForFinished(30000);
    QFile file(m_dir.filePath(QStringLiteral("state.json")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

QString SimProcess::stopAndReadLog()
{
    m_sim.terminate();
    m_sim.waitForFinished(30000);
    return QString::fromLocal8Bit(m_sim.readAllStandardError());
}

void SimProcess::toggleFirstInputVideo()
{
    ::kill(pid_t(m_sim.processId()), SIGUSR1);
}

void SimProcess::kill()
{
    m_sim.kill();
    m_sim.waitForFinished(30000);
}

SimProcess::Run SimProcess::sendAndPullMidWrite(const QString &file, const QString &port,
                                                const std::function<void()> &pullPlug)
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    tool.setProcessEnvironment(env);
    tool.start(toolPath(), {QStringLiteral("send"), file, QStringLiteral("--port"), port});
    Run run;
    if (!tool.waitForStarted(30000))
        return run;
    QByteArray out;
    const QDeadlineTimer started(60000);
    while (!out.contains("チャンネル1画面データ送信中です") && !started.hasExpired()) {
        tool.waitForReadyRead(int(started.remainingTime()));
        out += tool.readAllStandardOutput();
    }
    if (!out.contains("チャンネル1画面データ送信中です")) {
        run.out = QString::fromUtf8(out);
        return run;
    }
    pullPlug();
    QElapsedTimer sincePull;
    sincePull.start();
    if (!tool.waitForFinished(30000))
        return run;
    run.ms = sincePull.elapsed();
    run.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    run.out = QString::fromUtf8(out + tool.readAllStandardOutput());
    run.err = QString::fromUtf8(tool.readAllStandardError());
    return run;
}

SimProcess::Run SimProcess::runTool(const QStringList &args, int deadlineMs)
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    tool.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    tool.start(toolPath(), args);
    Run run;
    if (!tool.waitForFinished(deadlineMs)) {
        tool.kill();
        tool.waitForFinished(30000);
        run.err = QStringLiteral("did not finish in time");
        return run;
    }
    run.ms = clock.elapsed();
    run.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    run.out = QString::fromUtf8(tool.readAllStandardOutput());
    run.err = QString::fromUtf8(tool.readAllStandardError());
    return run;
}
