// `orvex status --watch` against orvex-sim: a change of the device is one
// more line, the JSON lines parse, the signals end it with the shell's exit
// codes, a unit lost is said once with its reason and waited for, and
// through ser2net every poll goes over one connection.

#include "SimLinkFixture.h"
#include "support/QtPrinters.h"
#include "support/Ser2netProcess.h"

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <csignal>

#include <gtest/gtest.h>

namespace {

// The tool watching in the background; the test reads its lines as they come.
class Watch
{
public:
    explicit Watch(const QStringList &args)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_tool.setProcessEnvironment(env);
        m_tool.start(SimProcess::toolPath(), QStringList{QStringLiteral("status")} + args
                                                 + QStringList{QStringLiteral("--watch")});
    }
    ~Watch()
    {
        if (m_tool.state() != QProcess::NotRunning) {
            m_tool.kill();
            m_tool.waitForFinished(30000);
        }
    }

    // The next line on stdout (or `channel`); empty when none came within
    // the deadline (several polls) or the tool ended.
    QString nextLine(QProcess::ProcessChannel channel = QProcess::StandardOutput)
    {
        m_tool.setReadChannel(channel);
        const QDeadlineTimer deadline(15000);
        while (!m_tool.canReadLine() && !deadline.hasExpired()) {
            if (!m_tool.waitForReadyRead(int(deadline.remainingTime())))
                break;
        }
        return m_tool.canReadLine() ? QString::fromUtf8(m_tool.readLine()).trimmed() : QString();
    }
    // Sends `signal` and returns the exit code; -1 when it did not end.
    int stop(int signal)
    {
        ::kill(pid_t(m_tool.processId()), signal);
        return finished();
    }
    // Waits for the tool to end by itself; its exit code, -1 if it did not.
    int finished()
    {
        if (!m_tool.waitForFinished(30000) || m_tool.exitStatus() != QProcess::NormalExit)
            return -1;
        return m_tool.exitCode();
    }
    QString rest() { return QString::fromUtf8(m_tool.readAllStandardOutput()); }
    QString err() { return QString::fromUtf8(m_tool.readAllStandardError()); }

private:
    QProcess m_tool;
};

QJsonObject parsed(const QString &line)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
    return doc.object();
}

using StatusWatch = SimLink;

} // namespace

TEST_F(StatusWatch, AChangeOfTheDeviceIsOneLineAndASignalEndsTheWatchWithTheShellsCode)
{
    struct Case
    {
        bool json;
        int signal;
        int exitCode;
    };
    for (const Case c : {Case{true, SIGINT, 130}, Case{false, SIGTERM, 143}}) {
        SimProcess sim;
        ASSERT_TRUE(sim.start());
        QStringList args{QStringLiteral("--port"), sim.device()};
        if (c.json)
            args << QStringLiteral("--json");
        Watch watch(args);

        const QString first = watch.nextLine();
        sim.toggleFirstInputVideo();
        const QString second = watch.nextLine();
        if (c.json) {
            const QJsonObject before = parsed(first);
            const QJsonObject after = parsed(second);
            EXPECT_EQ(before.keys(), (QStringList{"black", "channel", "hpos", "video_loss", "vpos", "white"}));
            EXPECT_EQ(before[QStringLiteral("channel")].toInt(), 1);
            EXPECT_EQ(before[QStringLiteral("video_loss")].toArray(), QJsonArray());
            EXPECT_EQ(after[QStringLiteral("video_loss")].toArray(), QJsonArray({1}));
            QJsonObject rest = after;
            rest[QStringLiteral("video_loss")] = QJsonArray();
            EXPECT_EQ(rest, before) << "nothing else changed";
        } else {
            EXPECT_TRUE(first.contains(QStringLiteral("active channel CH1, ")) && first.endsWith(QStringLiteral("video loss none")))
                << first.toStdString();
            EXPECT_TRUE(second.endsWith(QStringLiteral("video loss 1"))) << second.toStdString();
        }
        EXPECT_EQ(watch.stop(c.signal), c.exitCode);
        EXPECT_EQ(watch.rest(), QString()) << "no line without a change";
        EXPECT_EQ(watch.err(), QString());
    }
}

TEST_F(StatusWatch, APortThatCannotBeOpenedOrADeviceThatNeverAnswersIsOneLineAndTheWatchGoesOn)
{
    SimProcess silent;
    ASSERT_TRUE(silent.start({QStringLiteral("--silent")}));
    struct Case
    {
        QString port;
        QString reason;
    };
    for (const Case &c : {Case{QStringLiteral("tcp://127.0.0.1:%1").arg(Ser2netProcess::freePort()),
                               QStringLiteral("通信ポートを開けません。")},
                          Case{silent.device(), QStringLiteral("通信がタイムアウトしました")}}) {
        Watch watch({QStringLiteral("--port"), c.port});
        const QString lost = watch.nextLine();
        EXPECT_TRUE(lost.contains(c.port + QStringLiteral(" に接続できません（") + c.reason) && lost.endsWith(QStringLiteral("。再接続を待っています")))
            << lost.toStdString();
        EXPECT_EQ(watch.stop(SIGTERM), 143) << c.port.toStdString();
        EXPECT_EQ(watch.rest(), QString()) << c.port.toStdString();
        EXPECT_EQ(watch.err(), QString()) << "said once, on stdout";
    }
}

// A device server restarted under a watch: one line when the unit is lost,
// one when it is back, and the watch goes on seeing changes.
TEST_F(StatusWatch, AWatchOutlivesADeviceServersRestart)
{
    if (!Ser2netProcess::available())
        GTEST_SKIP() << "ser2net is not installed (scripts/install-deps.sh installs it)";
    SimProcess sim;
    ASSERT_TRUE(sim.start());
    Ser2netProcess server;
    ASSERT_TRUE(server.start(Ser2netProcess::Accepter::RawTcp, sim.device())) << server.failure().toStdString();
    Watch watch({QStringLiteral("--port"), server.address(), QStringLiteral("--json")});
    EXPECT_EQ(parsed(watch.nextLine())[QStringLiteral("video_loss")].toArray(), QJsonArray());

    server.kill();
    const QString lost = watch.nextLine(QProcess::StandardError);
    EXPECT_TRUE(lost.startsWith(QStringLiteral("orvex: %1 に接続できません（").arg(server.address()))) << lost.toStdString();
    ASSERT_TRUE(server.restart()) << server.failure().toStdString();
    EXPECT_EQ(watch.nextLine(QProcess::StandardError), QStringLiteral("orvex: %1 に再接続しました").arg(server.address()));
    sim.toggleFirstInputVideo();
    EXPECT_EQ(parsed(watch.nextLine())[QStringLiteral("video_loss")].toArray(), QJsonArray({1}));

    EXPECT_EQ(watch.stop(SIGINT), 130);
    EXPECT_EQ(watch.rest(), QString()) << "the same state after the outage is no new line";
    EXPECT_EQ(watch.err(), QString());
}

TEST_F(StatusWatch, ThroughSer2netEveryPollGoesOverOneConnection)
{
    if (!Ser2netProcess::available())
        GTEST_SKIP() << "ser2net is not installed (scripts/install-deps.sh installs it)";
    for (const auto accepter : {Ser2netProcess::Accepter::RawTcp, Ser2netProcess::Accepter::Rfc2217}) {
        SimProcess sim;
        ASSERT_TRUE(sim.start());
        Ser2netProcess server;
        server.setTraceConnections(true);
        ASSERT_TRUE(server.start(accepter, sim.device())) << server.failure().toStdString();
        Watch watch({QStringLiteral("--port"), server.address(), QStringLiteral("--json")});

        // Three polls, each seen by the change it brings.
        QStringList losses;
        for (int poll = 0; poll < 3; ++poll) {
            if (poll > 0)
                sim.toggleFirstInputVideo();
            const QJsonValue loss = parsed(watch.nextLine())[QStringLiteral("video_loss")];
            losses << QString::fromUtf8(QJsonDocument(loss.toArray()).toJson(QJsonDocument::Compact));
        }
        EXPECT_EQ(losses, (QStringList{"[]", "[1]", "[]"})) << server.address().toStdString();
        EXPECT_EQ(server.connectionsAccepted(), 1) << server.address().toStdString();
        EXPECT_EQ(watch.stop(SIGINT), 130);
    }
}
