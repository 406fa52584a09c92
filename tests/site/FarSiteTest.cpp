// A far site reached through Debian's OpenSSH server, as a user reaches
// one: the unit on the simulator's pseudo-terminal beside a local sshd, the
// far side the orvex of this build, the near side the user's own ssh with
// a scratch key, known hosts and configuration.

#include "core/TitleData.h"
#include "core/ZvxReader.h"
#include "core/ZvxWriter.h"
#include "link/history/TransferLog.h"
#include "netserial/RemoteLink.h"
#include "netserial/FarWords.h"
#include "platform/SshChannel.h"
#include "support/ExpectedDeviceState.h"
#include "support/FakeLinkView.h"
#include "support/SimProcess.h"
#include "support/SshdProcess.h"
#include "support/WaitFor.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class FarSite : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QString why;
        if (!SshdProcess::available(&why))
            GTEST_SKIP() << why.toStdString();
        ASSERT_FALSE(SimProcess::buildDir().isEmpty()) << "ORVEX_BUILD_DIR is not set";
        m_saved = {qgetenv("XDG_STATE_HOME"), qgetenv("ORVEX_SSH"), qgetenv("ORVEX_REMOTE_PROGRAM")};
        qputenv("XDG_STATE_HOME", QFile::encodeName(path("near")));
        ASSERT_TRUE(sshd.start()) << sshd.failure().toStdString();
        qputenv("ORVEX_SSH", sshd.sshCommand().toUtf8());
        // The far side keeps its log in a scratch folder of its own too.
        qputenv("ORVEX_REMOTE_PROGRAM", QStringLiteral("env XDG_STATE_HOME=%1 QT_QPA_PLATFORM=offscreen %2")
                                            .arg(path("far"), SimProcess::toolPath())
                                            .toUtf8());
        ASSERT_TRUE(sim.start());
        title = makeTitle();
    }
    void TearDown() override
    {
        sshd.stop();
        if (!m_saved.isEmpty()) {
            qputenv("XDG_STATE_HOME", m_saved[0]);
            qputenv("ORVEX_SSH", m_saved[1]);
            qputenv("ORVEX_REMOTE_PROGRAM", m_saved[2]);
        }
    }

    QString path(const QString &name) const { return dir.filePath(name); }
    QString address(const QString &device) const { return QStringLiteral("ssh://far") + device; }

    QString makeTitle()
    {
        const QString file = path(QStringLiteral("title.zvx"));
        const QByteArray list = "Gate\nBack\nRoof\nLobby\nStore\nYard\nDock\nHall\n";
        QFile text(path(QStringLiteral("list.txt")));
        EXPECT_TRUE(text.open(QIODevice::WriteOnly));
        text.write(list);
        text.close();
        TitleData blank;
        blank.setDefaults();
        EXPECT_TRUE(ZvxWriter::writeFile(file, blank).ok);
        const auto made = SimProcess::runTool({"titles", file, text.fileName(), file});
        EXPECT_EQ(made.exitCode, 0) << made.err.toStdString();
        return file;
    }

    // Every channel of `state` as `file` has it; the number that differ.
    int channelsDiffering(const QJsonObject &state, const QString &file)
    {
        TitleData data;
        data.setDefaults();
        EXPECT_TRUE(ZvxReader::readFile(file, data).ok());
        const QJsonArray channels = state[QStringLiteral("channels")].toArray();
        int differing = 0;
        for (int ch = 0; ch < Title::Channels; ++ch) {
            const QJsonObject channel = channels[ch].toObject();
            bool same = QByteArray::fromHex(channel[QStringLiteral("page")].toString().toLatin1()) == expectedPage(data, ch);
            const QJsonArray patterns = channel[QStringLiteral("patterns")].toArray();
            for (int slot = 1; same && slot < 26; ++slot)
                same = QByteArray::fromHex(patterns[slot].toString().toLatin1())
                       == expectedPattern(data.DotData[size_t(25 * ch + slot)]);
            differing += same ? 0 : 1;
        }
        return differing;
    }

    static QList<TransferRecord> records(const QString &state)
    {
        return TransferLog(state + QStringLiteral("/orvex/transfers.log")).read().records;
    }

    QTemporaryDir dir;
    SshdProcess sshd;
    SimProcess sim;
    QString title;

private:
    QList<QByteArray> m_saved;
};

} // namespace

TEST_F(FarSite, AWriteThroughSshIsByteExactAndBothComputersLogIt)
{
    const auto run = SimProcess::runTool({"send", title, "--port", address(sim.device())});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString() << sshd.log().toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("completed channels: 1,2,3,4,5,6,7,8"))) << run.out.toStdString();

    const QList<TransferRecord> near = records(path("near"));
    const QList<TransferRecord> far = records(path("far"));
    ASSERT_EQ(near.size(), 1);
    ASSERT_EQ(far.size(), 1);
    EXPECT_EQ(near[0].port, address(sim.device()));
    EXPECT_EQ(far[0].port, sim.device());
    EXPECT_EQ(near[0].id, far[0].id);
    EXPECT_EQ(near[0].sha256, far[0].sha256);
    EXPECT_EQ(near[0].outcome, WriteOutcome::Done);
    EXPECT_EQ(channelsDiffering(sim.stopAndReadState(), title), 0);
}

TEST_F(FarSite, StatusAndAWatchSayWhatTheLocalLineSays)
{
    const auto far = SimProcess::runTool({"status", "--port", address(sim.device()), "--json"});
    ASSERT_EQ(far.exitCode, 0) << far.err.toStdString();
    const auto local = SimProcess::runTool({"status", "--port", sim.device(), "--json"});
    ASSERT_EQ(local.exitCode, 0) << local.err.toStdString();
    EXPECT_EQ(far.out, local.out);

    QProcess watch;
    watch.start(SimProcess::toolPath(), {"status", "--port", address(sim.device()), "--json", "--watch"});
    QByteArray out;
    ASSERT_TRUE(waitFor([&] {
        out += watch.readAllStandardOutput();
        return out.count('\n') >= 1;
    }, 30000)) << watch.readAllStandardError().toStdString();
    sim.toggleFirstInputVideo();
    ASSERT_TRUE(waitFor([&] {
        out += watch.readAllStandardOutput();
        return out.count('\n') >= 2;
    }, 30000));
    const QList<QByteArray> lines = out.trimmed().split('\n');
    EXPECT_EQ(QJsonDocument::fromJson(lines[0])[QStringLiteral("video_loss")].toArray().contains(1), false);
    EXPECT_TRUE(QJsonDocument::fromJson(lines[1])[QStringLiteral("video_loss")].toArray().contains(1)) << lines[1].toStdString();
    watch.terminate();
    ASSERT_TRUE(watch.waitForFinished(20000));
    EXPECT_EQ(watch.exitCode(), 143);
}

TEST_F(FarSite, TheWindowsOperationsRunOnTheFarUnit)
{
    TitleData data;
    data.setDefaults();
    FakeLinkView view;
    RemoteLink link(data, std::make_unique<SshChannel>(), address(sim.device()), view);
    const auto operate = [&](const std::function<void()> &operation, Request request) {
        view.ended.clear();
        operation();
        return waitFor([&] { return view.ended.contains(int(request)) || view.unloads > 0; }, 30000);
    };
    ASSERT_TRUE(operate([&] { link.selectChannel(4); }, Request::ChannelSelect)) << view.warnings.join(u'\n').toStdString();
    ASSERT_TRUE(operate([&] { link.moveOverlay(OverlayDirection::Right); }, Request::MoveRight));
    ASSERT_TRUE(operate([&] { link.moveOverlay(OverlayDirection::Down); }, Request::MoveDown));
    ASSERT_TRUE(operate([&] { link.setLevels(2, 3); }, Request::Levels));
    ASSERT_TRUE(operate([&] { link.SerDataSet(Request::StatusPoll); }, Request::StatusPoll));
    EXPECT_EQ(view.unloads, 0) << view.warnings.join(u'\n').toStdString();
    EXPECT_TRUE(view.lit[4]);
    EXPECT_EQ(view.black, 2);
    EXPECT_EQ(view.white, 3);
    const QJsonObject state = sim.stopAndReadState();
    EXPECT_EQ(state[QStringLiteral("channel")].toInt(), 5) << QJsonDocument(state).toJson().left(300).toStdString();
}

TEST_F(FarSite, ASessionCutMidWriteIsSaidOnceAndChangedFinishesTheJob)
{
    QProcess send;
    send.start(SimProcess::toolPath(), {"send", title, "--port", address(sim.device())});
    QByteArray out;
    ASSERT_TRUE(waitFor([&] {
        out += send.readAllStandardOutput();
        return out.contains("チャンネル3画面データ送信中です");
    }, 60000)) << out.toStdString() << send.readAllStandardError().toStdString();
    ASSERT_GT(sshd.cutSessions(), 0);
    ASSERT_TRUE(send.waitForFinished(30000));
    EXPECT_EQ(send.exitCode(), 1);
    const QString err = QString::fromUtf8(send.readAllStandardError());
    EXPECT_EQ(err.count(FarWords::lostDuringWrite()), 1) << err.toStdString();
    // Nothing was claimed here.
    EXPECT_TRUE(QString::fromUtf8(out + send.readAllStandardOutput()).contains(QStringLiteral("completed channels: none")));

    // The next command learns from the far log what the unit got.
    const auto changed = SimProcess::runTool({"send", title, "--port", address(sim.device()), "--changed"});
    ASSERT_EQ(changed.exitCode, 0) << changed.err.toStdString();
    EXPECT_TRUE(changed.out.contains(QStringLiteral("channel 1: unchanged"))) << changed.out.toStdString();
    EXPECT_TRUE(changed.out.contains(QStringLiteral("channel 2: unchanged")));
    EXPECT_TRUE(changed.out.contains(QStringLiteral("channel 3: the last write to this port broke off")));
    EXPECT_TRUE(changed.out.contains(QStringLiteral("completed channels: 3,4,5,6,7,8"))) << changed.out.toStdString();
    EXPECT_EQ(channelsDiffering(sim.stopAndReadState(), title), 0);
}

TEST_F(FarSite, AFarPortNamedWithShellWordsRunsNothing)
{
    // Whatever a far shell ran would say so on ssh's error output.
    const QString name = path(QStringLiteral("unit a;echo RAN >&2;$(echo RAN >&2)`echo RAN >&2`'\"q"));
    ASSERT_TRUE(QFile::link(sim.device(), name));
    const auto run = SimProcess::runTool({"status", "--port", address(name)});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QLatin1String("RAN"))) << run.err.toStdString();
}

TEST_F(FarSite, TwoFarUnitsOfASiteAreWrittenAtOnce)
{
    SimProcess second;
    ASSERT_TRUE(second.start());
    QFile schedule(path("site.csv"));
    ASSERT_TRUE(schedule.open(QIODevice::WriteOnly));
    schedule.write(("unit,address,channel,title\nA," + address(sim.device()) + ",1,Gate\nB," + address(second.device())
                    + ",5,Roof\n")
                       .toUtf8());
    schedule.close();
    ASSERT_EQ(SimProcess::runTool({"site", "make", schedule.fileName(), path("site")}).exitCode, 0);
    const auto run = SimProcess::runTool({"site", "send", schedule.fileName(), path("site")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString() << run.out.toStdString();
    EXPECT_EQ(channelsDiffering(sim.stopAndReadState(), path("site/A.zvx")), 0);
    EXPECT_EQ(channelsDiffering(second.stopAndReadState(), path("site/B.zvx")), 0);
}

TEST_F(FarSite, ASiteAsksTheFarComputerAboutABrokenWriteBeforeChanged)
{
    QFile schedule(path("site.csv"));
    ASSERT_TRUE(schedule.open(QIODevice::WriteOnly));
    schedule.write(("unit,address,channel,title\nA," + address(sim.device()) + ",1,Gate\nA,,2,Back\nA,,3,Roof\n").toUtf8());
    schedule.close();
    ASSERT_EQ(SimProcess::runTool({"site", "make", schedule.fileName(), path("site")}).exitCode, 0);
    QProcess send;
    send.start(SimProcess::toolPath(), {"send", path("site/A.zvx"), "--port", address(sim.device())});
    QByteArray out;
    ASSERT_TRUE(waitFor([&] {
        out += send.readAllStandardOutput();
        return out.contains("チャンネル3画面データ送信中です");
    }, 60000)) << out.toStdString();
    ASSERT_GT(sshd.cutSessions(), 0);
    ASSERT_TRUE(send.waitForFinished(30000));

    const auto changed = SimProcess::runTool({"site", "send", schedule.fileName(), path("site"), "--changed"});
    EXPECT_EQ(changed.exitCode, 0) << changed.err.toStdString();
    const QList<TransferRecord> near = records(path("near"));
    ASSERT_FALSE(near.isEmpty());
    // Channels 1 and 2 were done on the far side: only the rest was sent.
    EXPECT_EQ(near.last().askedChannels(), (QList<int>{3, 4, 5, 6, 7, 8})) << changed.out.toStdString();
    EXPECT_EQ(channelsDiffering(sim.stopAndReadState(), path("site/A.zvx")), 0);
}

TEST_F(FarSite, EachWayOfNotReachingTheFarSideHasOneClearMessage)
{
    const struct
    {
        const char *host;
        const char *remote; // ORVEX_REMOTE_PROGRAM, or the default
        const char *sentence;
        const char *sshSaid;
    } cases[] = {
        {"stranger", nullptr, "ホスト鍵", "Host key verification failed"},
        {"wrongkey", nullptr, "鍵を受け付けません", "Permission denied"},
        {"nobody", nullptr, "接続できません", "Connection refused"},
        {"far", "/nonexistent/orvex", "orvex が見つかりません", "No such file or directory"},
        // An orvex from before the far side: its usage, and exit code 2.
        {"far", "/bin/sh -c 'echo orvex: unknown command serve >&2; exit 2' --", "古く", "unknown command"},
    };
    const QByteArray program = qgetenv("ORVEX_REMOTE_PROGRAM");
    for (const auto &c : cases) {
        if (c.remote)
            qputenv("ORVEX_REMOTE_PROGRAM", c.remote);
        const auto run = SimProcess::runTool({"status", "--port", QStringLiteral("ssh://%1%2").arg(QLatin1String(c.host), sim.device())});
        qputenv("ORVEX_REMOTE_PROGRAM", program);
        EXPECT_EQ(run.exitCode, 1) << c.host;
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.sentence))) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QLatin1String(c.sshSaid))) << run.err.toStdString();
        EXPECT_EQ(run.err.count(QStringLiteral("通信エラー")), 1) << run.err.toStdString();
    }
}
