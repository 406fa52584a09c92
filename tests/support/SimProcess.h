#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

// orvex-sim running on its own pseudo-terminal for one test, and the orvex
// tool run against it. Every wait has a generous deadline; none is a sleep.
class SimProcess
{
public:
    static QString buildDir();
    static QString simPath() { return buildDir() + QStringLiteral("/src/sim/orvex-sim"); }
    static QString toolPath() { return buildDir() + QStringLiteral("/src/cli/orvex"); }

    // Starts the simulator with `options` plus --state and --snapshot in a
    // temporary folder; false when it did not report its device in time.
    bool start(const QStringList &options = {});
    ~SimProcess();

    QString device() const { return m_device; }
    QString folder() const { return m_dir.path(); }
    // Stops the simulator and reads the state it wrote on exit.
    QJsonObject stopAndReadState();
    // Stops the simulator and returns what it logged on stderr.
    QString stopAndReadLog();
    // Takes input 1's video away, or brings it back (the simulator's SIGUSR1).
    void toggleFirstInputVideo();
    // Kills the simulator outright, as a device switched off or unplugged:
    // its end of the line closes with nothing written.
    void kill();

    struct Run
    {
        int exitCode = -1;
        QString out;
        QString err;
        qint64 ms = 0;
    };
    static Run runTool(const QStringList &args, int deadlineMs = 120000);
    // Runs `orvex send FILE --port PORT`, calls `pullPlug` once channel 1's
    // screen rows are going out, and returns how the tool ended; ms counts
    // from the pull. exitCode -1: the write never got under way.
    static Run sendAndPullMidWrite(const QString &file, const QString &port, const std::function<void()> &pullPlug);

private:
    QProcess m_sim;
    QTemporaryDir m_dir;
    QString m_device;
};
