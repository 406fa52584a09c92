// The orvex tool through Debian's ser2net in front of orvex-sim: raw TCP
// and telnet with RFC 2217, a server that dies mid-write, a closed port,
// a server that turns us away because it still holds a stale connection.

#include "support/Ser2netProcess.h"
#include "link/history/ChannelFrames.h"
#include "link/history/TransferRecord.h"
#include "SimLinkFixture.h"
#include "support/QtPrinters.h"
#include "support/ScratchState.h"
#include "support/WaitFor.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>

#include <gtest/gtest.h>

namespace {

class Ser2net : public SimLink
{
protected:
    void SetUp() override
    {
        if (!Ser2netProcess::available())
            GTEST_SKIP() << "ser2net is not installed (scripts/install-deps.sh installs it)";
        SimLink::SetUp();
    }

    // The state the simulator holds after the whole title went to it over `port`.
    QJsonObject stateAfterSend(SimProcess &sim, const QString &port)
    {
        const auto run = SimProcess::runTool({"send", file, "--port", port});
        EXPECT_EQ(run.exitCode, 0) << port.toStdString() << ": " << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("データ送信終了しました。\ncompleted channels: 1,2,3,4,5,6,7,8")))
            << port.toStdString() << ": " << run.out.toStdString();
        return sim.stopAndReadState();
    }
};

QJsonObject withoutLineSpeed(QJsonObject state)
{
    state.remove(QStringLiteral("line_baud"));
    return state;
}

} // namespace

TEST_F(Ser2net, AWholeTitleThroughEitherAccepterLeavesTheSimulatorAsThePseudoTerminalDoes)
{
    SimProcess direct;
    ASSERT_TRUE(direct.start());
    const QJsonObject reference = stateAfterSend(direct, direct.device());
    ASSERT_FALSE(reference.isEmpty());
    for (int ch = 0; ch < Title::Channels; ++ch)
        expectChannelWritten(reference, ch);

    struct Case
    {
        Ser2netProcess::Accepter accepter;
        const char *serverSetting; // the speed ser2net itself puts on the line
    };
    // Over RFC 2217 ser2net starts the line at 19200: only our own
    // SET-BAUDRATE brings it to 9600.
    for (const Case c : {Case{Ser2netProcess::Accepter::RawTcp, "9600n81"},
                         Case{Ser2netProcess::Accepter::Rfc2217, "19200n81"}}) {
        SimProcess sim;
        ASSERT_TRUE(sim.start());
        Ser2netProcess server;
        ASSERT_TRUE(server.start(c.accepter, sim.device(), QString::fromLatin1(c.serverSetting)))
            << server.failure().toStdString();
        const QJsonObject state = stateAfterSend(sim, server.address());
        EXPECT_EQ(withoutLineSpeed(state), withoutLineSpeed(reference)) << server.address().toStdString();
        EXPECT_EQ(state[QStringLiteral("line_baud")].toInt(), 9600) << server.address().toStdString();
    }
}

TEST_F(Ser2net, AServerKilledMidWriteEndsTheSendAtOnceWithOneMessage)
{
    for (const auto accepter : {Ser2netProcess::Accepter::RawTcp, Ser2netProcess::Accepter::Rfc2217}) {
        SimProcess sim;
        // At the real line rate the write takes many seconds: the kill lands in it.
        ASSERT_TRUE(sim.start({QStringLiteral("--line-rate"), QStringLiteral("9600")}));
        Ser2netProcess server;
        ASSERT_TRUE(server.start(accepter, sim.device())) << server.failure().toStdString();
        const SimProcess::Run run = SimProcess::sendAndPullMidWrite(file, server.address(), [&] { server.kill(); });
        const QString &err = run.err;
        EXPECT_EQ(run.exitCode, 1) << server.address().toStdString() << run.out.toStdString();
        EXPECT_LT(run.ms, 3000) << server.address().toStdString();
        // The reconnect, the one message, what was resent, how to finish.
        EXPECT_LE(err.count(u'\n'), 4) << err.toStdString();
        EXPECT_EQ(err.count(QStringLiteral("接続し直しています")), 1) << err.toStdString();
        EXPECT_EQ(err.count(QStringLiteral("通信ポートを開けません。")), 1) << err.toStdString();
        EXPECT_TRUE(err.contains(server.address())) << "names the address: " << err.toStdString();
        EXPECT_FALSE(err.contains(QStringLiteral("未定義エラー発生"))) << err.toStdString();
    }
}

TEST_F(Ser2net, ANetworkPortNobodyListensOnIsOneClearMessage)
{
    const QString address = QStringLiteral("tcp://127.0.0.1:%1").arg(Ser2netProcess::freePort());
    for (const QString &command : {QStringLiteral("send"), QStringLiteral("status")}) {
        const QStringList args = command == QLatin1String("send") ? QStringList{command, file, "--port", address}
                                                                   : QStringList{command, "--port", address};
        const auto run = SimProcess::runTool(args);
        EXPECT_EQ(run.exitCode, 1) << command.toStdString();
        // One message; send adds how to finish the job.
        EXPECT_EQ(run.err.count(u'\n'), command == QLatin1String("send") ? 2 : 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.section(u'\n', 0, 0).contains(QStringLiteral("通信ポートを開けません。"))) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(address + QStringLiteral(" に接続を拒否されました（Connection refused）")))
            << run.err.toStdString();
    }
}

TEST_F(Ser2net, AServerTurningTheWriteAwayAsInUseIsAnHonestFailureAndTheResumeFinishesTheRest)
{
    ScratchState log; // --changed reads the transfer log: this test's own
    SimProcess sim;
    ASSERT_TRUE(sim.start());
    Ser2netProcess server;
    server.setKickOldUser(false); // a second client gets "Port already in use"
    server.setTraceConnections(true);
    ASSERT_TRUE(server.start(Ser2netProcess::Accepter::RawTcp, sim.device())) << server.failure().toStdString();
    const QString port = server.address();

    auto first = SimProcess::runTool({"send", file, "--port", port, "--channels", "1,2,3"});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    ASSERT_TRUE(waitFor([&] { return server.connectionsEnded() == 1; }));

    // A connection the far end still believes in, as after a path that died.
    QTcpSocket stale;
    stale.connectToHost(QHostAddress::LocalHost, server.port());
    ASSERT_TRUE(stale.waitForConnected(10000));
    ASSERT_TRUE(waitFor([&] { return server.connectionsAccepted() == 2; }));

    // Refused at once; the deadline only bounds a link that takes the
    // server's words for replies, one frame per connection.
    const auto refused = SimProcess::runTool({"send", file, "--port", port, "--changed"}, 30000);
    EXPECT_EQ(refused.exitCode, 1) << refused.out.toStdString();
    EXPECT_TRUE(refused.err.contains(QStringLiteral("Port already in use"))) << refused.err.toStdString();
    EXPECT_FALSE(refused.out.contains(QRegularExpression(QStringLiteral("completed channels: \\d"))))
        << refused.out.toStdString();

    stale.disconnectFromHost();
    ASSERT_TRUE(waitFor([&] { return server.connectionsEnded() == 2; }));
    // Nothing was recorded as written, so the rest is still to send.
    const auto resumed = SimProcess::runTool({"send", file, "--port", port, "--changed"});
    EXPECT_EQ(resumed.exitCode, 0) << resumed.err.toStdString();
    EXPECT_TRUE(resumed.out.contains(QStringLiteral("completed channels: 4,5,6,7,8"))) << resumed.out.toStdString();

    const QJsonObject state = sim.stopAndReadState();
    for (int ch = 0; ch < Title::Channels; ++ch) {
        expectChannelWritten(state, ch);
        EXPECT_EQ(dataFrames(state, ch), dataFrames(state, 0)) << "channel " << ch + 1 << " went out once";
    }
}

TEST_F(Ser2net, AConnectionTheServerClosesMidChannelIsMadeAgainAndTheLogHoldsTheFramesOwnHashes)
{
    ScratchState log;
    SimProcess sim;
    ASSERT_TRUE(sim.start({QStringLiteral("--delay"), QStringLiteral("10")}));
    Ser2netProcess server; // a new client kicks the one connected
    ASSERT_TRUE(server.start(Ser2netProcess::Accepter::RawTcp, sim.device())) << server.failure().toStdString();
    QTcpSocket intruder;
    const auto run = SimProcess::sendAndPullMidWrite(file, server.address(), [&] {
        intruder.connectToHost(QHostAddress::LocalHost, server.port());
        intruder.waitForConnected(10000);
    });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString() << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("completed channels: 1,2,3,4,5,6,7,8"))) << run.out.toStdString();
    EXPECT_EQ(run.err.count(QStringLiteral("接続し直しています")), 1) << run.err.toStdString();

    QFile file(log.log());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto record = TransferRecord::fromJson(file.readAll().trimmed().split('\n').last());
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->reconnects, 1);
    for (int ch = 0; ch < Title::Channels; ++ch)
        EXPECT_EQ(record->sha256[size_t(ch)], ChannelFrames::sha256(data, ch)) << "channel " << ch + 1;

    const auto again = SimProcess::runTool({"send", this->file, "--port", server.address(), "--changed"});
    EXPECT_TRUE(again.out.contains(QStringLiteral("nothing to send"))) << again.out.toStdString();
    const QJsonObject state = sim.stopAndReadState();
    for (int ch = 0; ch < Title::Channels; ++ch)
        expectChannelWritten(state, ch);
}
