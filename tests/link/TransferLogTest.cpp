// The transfer log: its records, its size bound, a log that cannot be
// written, and the channels that changed since the last write to a port.

#include "core/UserFolders.h"
#include "link/ChangedChannels.h"
#include "link/ChannelFrames.h"
#include "link/TransferRecorder.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

BulkWriteReport report(const QString &port, QList<int> asked, QList<int> completed, WriteOutcome outcome,
                       const TitleData *data = nullptr)
{
    BulkWriteReport r;
    r.port = port;
    r.outcome = outcome;
    for (int ch : asked)
        r.asked[ch - 1] = true;
    for (int ch : completed) {
        r.completed[ch - 1] = true;
        r.sha256[ch - 1] = data ? ChannelFrames::sha256(*data, ch - 1) : QByteArray(32, char(ch));
    }
    return r;
}

TitleData blankTitle()
{
    TitleData data;
    data.setDefaults();
    return data;
}

const QDateTime NoonInTokyo(QDate(2026, 12, 8), QTime(12, 0, 5), QTimeZone(9 * 3600));

} // namespace

TEST(TransferRecord, IsOneJsonLineWithTheZoneAndReadsBack)
{
    const TransferRecord record = TransferRecord::fromReport(
        report("/dev/ttyUSB0", {1, 2, 3}, {1, 2}, WriteOutcome::TimedOut), "orvex-editor", "/home/a/t.zvx",
        NoonInTokyo);
    const QByteArray line = record.toJson();
    EXPECT_FALSE(line.contains('\n'));
    const QJsonObject object = QJsonDocument::fromJson(line).object();
    EXPECT_EQ(object["time"].toString(), QStringLiteral("2026-12-08T12:00:05+09:00"));
    EXPECT_EQ(object["program"].toString(), QStringLiteral("orvex-editor"));
    EXPECT_EQ(object["port"].toString(), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(object["result"].toString(), QStringLiteral("timed-out"));
    EXPECT_EQ(object["file"].toString(), QStringLiteral("/home/a/t.zvx"));
    EXPECT_EQ(object["sha256"].toObject().keys(), QStringList({"1", "2"}));
    EXPECT_EQ(object["sha256"]["2"].toString(), QString(QByteArray(32, 2).toHex()));

    const auto back = TransferRecord::fromJson(line);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->time, NoonInTokyo);
    EXPECT_EQ(back->channels, QList<int>({1, 2, 3}));
    EXPECT_EQ(back->completed, QList<int>({1, 2}));
    EXPECT_EQ(back->sha256, record.sha256);

    // No file: no "file" key.
    EXPECT_FALSE(TransferRecord::fromReport(report("p", {}, {}, WriteOutcome::Done), "orvex", {}, NoonInTokyo)
                     .toJson()
                     .contains("\"file\""));
    for (const char *bad : {"", "[]", "{\"time\": \"yesterday\"}", "{not json",
                            R"({"time":"2026-12-08T12:00:05Z","port":"p","result":"done","channels":[9],"completed":[]})",
                            R"({"time":"2026-12-08T12:00:05Z","port":"p","result":"maybe","channels":[],"completed":[]})"})
        EXPECT_FALSE(TransferRecord::fromJson(bad)) << bad;
}

TEST(TransferLog, AppendsNewestLastAndSkipsWhatIsNoRecord)
{
    QTemporaryDir dir;
    const TransferLog log(dir.filePath("state/orvex/transfers.log"));
    EXPECT_TRUE(log.read().records.isEmpty());
    for (int i = 0; i < 3; ++i) {
        const auto r = report(QString::number(i), {1}, {1}, WriteOutcome::Done);
        EXPECT_EQ(log.append(TransferRecord::fromReport(r, "orvex", {}, NoonInTokyo)), QString());
    }
    // A line cut short by a program that died while writing.
    QFile file(log.path());
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("{\"time\": \"2026-");
    file.close();
    EXPECT_EQ(log.append(TransferRecord::fromReport(report("3", {}, {}, WriteOutcome::Done), "orvex", {},
                                                    NoonInTokyo)),
              QString());

    const TransferLog::Contents contents = log.read();
    EXPECT_EQ(contents.unreadable, 1);
    ASSERT_EQ(contents.records.size(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(contents.records[i].port, QString::number(i));
}

TEST(TransferLog, KeepsOnlyTheNewestLines)
{
    QTemporaryDir dir;
    const TransferLog log(dir.filePath("transfers.log"));
    QByteArray lines;
    for (int i = 0; i < TransferLog::MaxLines; ++i)
        lines += TransferRecord::fromReport(report(QString::number(i), {}, {}, WriteOutcome::Done), "orvex", {},
                                            NoonInTokyo)
                     .toJson()
            + '\n';
    QFile file(log.path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(lines);
    file.close();

    ASSERT_EQ(log.append(TransferRecord::fromReport(report("new", {}, {}, WriteOutcome::Done), "orvex", {},
                                                    NoonInTokyo)),
              QString());
    const TransferLog::Contents contents = log.read();
    ASSERT_EQ(contents.records.size(), TransferLog::MaxLines);
    EXPECT_EQ(contents.records.first().port, QStringLiteral("1"));
    EXPECT_EQ(contents.records.last().port, QStringLiteral("new"));
}

TEST(TransferRecorder, AnUnwritableLogWarnsOnceAndKeepsTheReport)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QStringList warnings;
    TransferRecorder recorder(TransferLog(dir.filePath("not-a-folder/orvex/transfers.log")), "orvex-editor",
                              [&warnings](const QString &why) { warnings << why; });
    recorder.record(report("p", {1, 2}, {1}, WriteOutcome::TimedOut));
    recorder.record(report("p", {2}, {2}, WriteOutcome::Done));
    EXPECT_EQ(warnings.size(), 1);
    ASSERT_TRUE(recorder.last());
    EXPECT_EQ(recorder.last()->completedChannels(), QList<int>({2}));
}

TEST(TransferRecorder, StampsTheProgramFileAndTime)
{
    QTemporaryDir dir;
    TransferRecorder recorder(TransferLog(dir.filePath("transfers.log")), "orvex-editor", {});
    QString file = QStringLiteral("/titles/a.zvx");
    recorder.setTitleFile([&file] { return file; });
    recorder.setClock([] { return NoonInTokyo; });
    recorder.record(report("/dev/ttyS0", {3}, {3}, WriteOutcome::Done));
    file = QStringLiteral("/titles/b.zvx");
    recorder.record(report("/dev/ttyS0", {3}, {}, WriteOutcome::PortFailed));
    const auto records = recorder.log().read().records;
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].file, QStringLiteral("/titles/a.zvx"));
    EXPECT_EQ(records[1].file, QStringLiteral("/titles/b.zvx"));
    EXPECT_EQ(records[1].program, QStringLiteral("orvex-editor"));
    EXPECT_EQ(records[1].result, QStringLiteral("port-failed"));
    EXPECT_EQ(records[0].time, NoonInTokyo);
}

TEST(TransferLog, LivesInTheStateFolder)
{
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", "/var/state-here");
    EXPECT_EQ(TransferLog::defaultPath(), QStringLiteral("/var/state-here/orvex/transfers.log"));
    for (const char *ignored : {"", "relative/state"}) {
        qputenv("XDG_STATE_HOME", ignored);
        EXPECT_EQ(UserFolders::state(), QDir::homePath() + QStringLiteral("/.local/state/orvex")) << ignored;
    }
    qputenv("XDG_STATE_HOME", saved);
}

TEST(ChangedChannels, ComparesEachChannelWithItsLastWriteToThePort)
{
    TitleData data = blankTitle();
    const TitleData before = data;
    data.DotData[2 * 25 + 4].fill(PixelCode::white()); // channel 3 changed since

    const auto at = [&](const BulkWriteReport &r) {
        return TransferRecord::fromReport(r, "orvex", {}, NoonInTokyo);
    };
    const QList<TransferRecord> records = {
        at(report("A", {1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6}, WriteOutcome::Done, &before)),
        // Broke off in channel 4: 5 and 6 were never started.
        at(report("A", {4, 5, 6}, {}, WriteOutcome::TimedOut, &before)),
        // Refused: nothing went out.
        at(report("A", {1}, {}, WriteOutcome::Refused, &before)),
        // Another unit.
        at(report("B", {7, 8}, {7, 8}, WriteOutcome::Done, &before)),
    };
    using S = ChangedChannels::State;
    const std::array<S, 8> expected = {S::Same,       S::Same, S::Changed,      S::Unfinished,
                                       S::Same,       S::Same, S::NeverWritten, S::NeverWritten};
    const auto states = ChangedChannels::compare(data, records, "A");
    for (int ch = 0; ch < 8; ++ch)
        EXPECT_EQ(int(states[ch]), int(expected[ch])) << "channel " << ch + 1;
    EXPECT_EQ(ChangedChannels::toSend(states), QList<int>({3, 4, 7, 8}));
    EXPECT_EQ(ChangedChannels::toSend(ChangedChannels::compare(before, records, "B")),
              QList<int>({1, 2, 3, 4, 5, 6}));
}
