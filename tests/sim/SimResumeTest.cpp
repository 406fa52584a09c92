// A write cut off by a unit switched off during channel 3, finished from the
// hint `orvex send` gives, the transfer log of both attempts, and
// `orvex send --changed` against it; a log that must not be written.

#include "support/ScratchState.h"
#include "support/SimProcess.h"
#include "support/FifoUnblocker.h"
#include "core/TitleData.h"
#include "core/ZvxWriter.h"
#include "support/QtPrinters.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

TitleData sampleTitle()
{
    TitleData data;
    data.setDefaults();
    for (int ch = 0; ch < Title::Channels; ++ch) {
        for (int k = 1; k <= Title::BlockSize; ++k)
            data.DotData[25 * ch + k][(ch * 7 + k) % Title::VisibleDots] = PixelCode::white();
        for (int cell = 0; cell < Title::BlockSize; ++cell)
            data.DispData(cell + 30, 0, ch) = quint8(25 * ch + cell + 1);
    }
    return data;
}

QList<QJsonObject> newestFirst(const QString &out)
{
    QList<QJsonObject> records;
    for (const QString &line : out.split(u'\n', Qt::SkipEmptyParts))
        records << QJsonDocument::fromJson(line.toUtf8()).object();
    return records;
}

QList<int> numbers(const QJsonValue &value)
{
    QList<int> list;
    for (const QJsonValue &v : value.toArray())
        list << v.toInt();
    return list;
}

int dataFrames(const QJsonObject &state, int ch)
{
    return state[QStringLiteral("channels")].toArray()[ch].toObject()[QStringLiteral("data_frames")].toInt();
}

constexpr int FramesPerChannel = 43;

// A title on disk and a log of the test's own.
class SimResume : public ::testing::Test
{
protected:
    void SetUp() override
    {
        data = sampleTitle();
        ASSERT_TRUE(ZvxWriter::writeFile(file, data).ok);
    }

    ScratchState state;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("title.zvx"));
    TitleData data;
};

} // namespace

TEST_F(SimResume, AWriteCutOffInChannelThreeIsFinishedFromTheHintAndLogged)
{
    // The unit is reached through the same name both times, as a port is.
    const QString unit = dir.filePath(QStringLiteral("unit"));

    SimProcess first;
    ASSERT_TRUE(first.start({"--link", unit, "--switch-off-after", QString::number(2 * FramesPerChannel + 10)}));
    auto run = SimProcess::runTool({"send", file, "--port", unit, "--channels", "1,2,3,4,5"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.contains(QStringLiteral("completed channels: 1,2\n"))) << run.out.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("to finish the job: orvex send %1 --port %2 --channels 3,4,5")
                                     .arg(file, unit)))
        << run.err.toStdString();
    first.kill();

    SimProcess second;
    ASSERT_TRUE(second.start({"--link", unit}));
    run = SimProcess::runTool({"send", file, "--port", unit, "--channels", "3,4,5"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("completed channels: 3,4,5\n"))) << run.out.toStdString();

    // Channels 6..8 have no write on record: --changed sends them.
    run = SimProcess::runTool({"send", file, "--port", unit, "--changed"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("trusts the unit on %1").arg(unit))) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("channel 6: no write to this port on record")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("completed channels: 6,7,8\n"))) << run.out.toStdString();
    // Then nothing has changed: nothing goes out.
    run = SimProcess::runTool({"send", file, "--port", unit, "--changed"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("nothing to send"))) << run.out.toStdString();
    // After an edit of channel 4, only channel 4.
    data.DotData[3 * 25 + 1][0] = PixelCode::black();
    ASSERT_TRUE(ZvxWriter::writeFile(file, data).ok);
    run = SimProcess::runTool({"send", file, "--port", unit, "--changed"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("completed channels: 4\n"))) << run.out.toStdString();

    const QJsonObject device = second.stopAndReadState();
    for (int ch : {0, 1})
        EXPECT_EQ(dataFrames(device, ch), 0) << ch + 1;
    EXPECT_EQ(dataFrames(device, 2), 39);
    EXPECT_EQ(dataFrames(device, 3), 2 * 39);
    EXPECT_EQ(dataFrames(device, 5), 39);

    // The log: newest first, each attempt with what completed and its hashes.
    run = SimProcess::runTool({"log", "--json"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QList<QJsonObject> records = newestFirst(run.out);
    ASSERT_EQ(records.size(), 4);
    EXPECT_EQ(numbers(records[3]["channels"]), QList<int>({1, 2, 3, 4, 5}));
    EXPECT_EQ(numbers(records[3]["completed"]), QList<int>({1, 2}));
    EXPECT_EQ(records[3]["result"].toString(), QStringLiteral("port-failed"));
    EXPECT_EQ(records[3]["sha256"].toObject().keys(), QStringList({"1", "2"}));
    EXPECT_EQ(numbers(records[2]["completed"]), QList<int>({3, 4, 5}));
    EXPECT_EQ(records[2]["result"].toString(), QStringLiteral("done"));
    EXPECT_EQ(numbers(records[1]["completed"]), QList<int>({6, 7, 8}));
    EXPECT_EQ(numbers(records[0]["channels"]), QList<int>({4}));
    for (const QJsonObject &record : records) {
        EXPECT_EQ(record["port"].toString(), unit);
        EXPECT_EQ(record["program"].toString(), QStringLiteral("orvex"));
        EXPECT_EQ(record["file"].toString(), file);
    }
    // Channel 4's hash changed with its character; channel 3's did not.
    EXPECT_NE(records[0]["sha256"]["4"], records[2]["sha256"]["4"]);

    const auto text = SimProcess::runTool({"log"});
    EXPECT_TRUE(text.out.contains(QStringLiteral("channels 1,2,3,4,5, completed 1,2"))) << text.out.toStdString();
    EXPECT_TRUE(QFile::exists(state.log()));
}

TEST_F(SimResume, AWriteStoppedByTheOperatorIsLoggedAsAbandoned)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--delay", "50"})); // channel 3 takes over 2 s: time to stop it

    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    tool.setProcessEnvironment(env);
    tool.start(SimProcess::toolPath(), {"send", file, "--port", sim.device(), "--channels", "2,3"});
    ASSERT_TRUE(tool.waitForStarted(30000));
    QByteArray out;
    const QDeadlineTimer deadline(60000);
    while (!out.contains("チャンネル3画面データ送信中です") && !deadline.hasExpired()) {
        tool.waitForReadyRead(int(deadline.remainingTime()));
        out += tool.readAllStandardOutput();
    }
    ASSERT_TRUE(out.contains("チャンネル3画面データ送信中です")) << out.toStdString();
    tool.terminate(); // as Ctrl+C
    ASSERT_TRUE(tool.waitForFinished(30000));
    out += tool.readAllStandardOutput();
    EXPECT_EQ(tool.exitCode(), 130);
    EXPECT_TRUE(out.contains("completed channels: 2\n")) << out.toStdString();
    EXPECT_TRUE(tool.readAllStandardError().contains("--channels 3"));

    const auto records = newestFirst(SimProcess::runTool({"log", "--json"}).out);
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0]["result"].toString(), QStringLiteral("abandoned"));
    EXPECT_EQ(numbers(records[0]["completed"]), QList<int>({2}));
}

// A log that is a pipe or a link to an endless device is left alone: the
// write's own result is what the tool says and how it exits, with one note
// that nothing was recorded.
TEST_F(SimResume, AWriteWhoseLogIsNoRegularFileEndsAsTheWriteWent)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(state.log()).path()));
    const QByteArray log = QFile::encodeName(state.log());
    const std::function<bool()> kinds[] = {
        [&] { return ::mkfifo(log.constData(), 0600) == 0; },
        [&] { return ::symlink("/dev/zero", log.constData()) == 0; },
    };
    for (const auto &make : kinds) {
        ASSERT_TRUE(make());
        FifoUnblocker unblocker(state.log());
        SimProcess sim;
        ASSERT_TRUE(sim.start());
        const auto run = SimProcess::runTool({"send", file, "--port", sim.device(), "--channels", "1"}, 60000);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("completed channels: 1\n"))) << run.out.toStdString();
        EXPECT_EQ(run.err, QStringLiteral("orvex: 記録されませんでした: %1 は通常のファイルではありません\n")
                               .arg(state.log()));
        ASSERT_EQ(::unlink(log.constData()), 0);
    }
}
