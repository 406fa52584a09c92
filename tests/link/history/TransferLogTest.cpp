// The transfer log: its records (old lines included), its bounds, a log
// that cannot be or must not be written, several writers at once, and the
// channels that changed since the last write to a port.

#include "core/UserFolders.h"
#include "link/history/ChangedChannels.h"
#include "link/history/ChannelFrames.h"
#include "link/history/LineLog.h"
#include "link/history/TransferRecorder.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>
#include <thread>
#include <vector>

#include <sys/stat.h>

namespace {

TransferRecord report(const QString &port, QList<int> asked, QList<int> completed, WriteOutcome outcome,
                      const TitleData *data = nullptr)
{
    TransferRecord r;
    r.port = port;
    r.outcome = outcome;
    r.time = QDateTime(QDate(2026, 12, 8), QTime(12, 0, 5), QTimeZone(9 * 3600));
    r.program = QStringLiteral("orvex");
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
    TransferRecord record = report("/dev/ttyUSB0", {1, 2, 3}, {1, 2}, WriteOutcome::TimedOut);
    record.program = QStringLiteral("orvex-editor");
    record.file = QStringLiteral("/home/a/t.zvx");
    const QByteArray line = record.toJson();
    EXPECT_FALSE(line.contains('\n'));
    const QJsonObject object = QJsonDocument::fromJson(line).object();
    EXPECT_EQ(object["time"].toString(), QStringLiteral("2026-12-08T12:00:05+09:00"));
    EXPECT_EQ(object["program"].toString(), QStringLiteral("orvex-editor"));
    EXPECT_EQ(object["port"].toString(), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(object["result"].toString(), QStringLiteral("timed-out"));
    EXPECT_EQ(object["file"].toString(), QStringLiteral("/home/a/t.zvx"));
    EXPECT_FALSE(object.contains("modified"));
    EXPECT_EQ(object["sha256"].toObject().keys(), QStringList({"1", "2"}));
    EXPECT_EQ(object["sha256"]["2"].toString(), QString(QByteArray(32, 2).toHex()));

    const auto back = TransferRecord::fromJson(line);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->time, NoonInTokyo);
    EXPECT_EQ(back->askedChannels(), QList<int>({1, 2, 3}));
    EXPECT_EQ(back->completedChannels(), QList<int>({1, 2}));
    EXPECT_EQ(back->outcome, WriteOutcome::TimedOut);
    EXPECT_EQ(back->sha256, record.sha256);
    EXPECT_FALSE(back->modified);
    record.modified = true; // unsaved edits: the file does not hold what was sent
    EXPECT_TRUE(record.toJson().contains(R"("modified":true)"));

    // No file: no "file" key.
    EXPECT_FALSE(report("p", {}, {}, WriteOutcome::Done).toJson().contains("\"file\""));
    for (const char *bad : {"", "[]", "{\"time\": \"yesterday\"}", "{not json",
                            R"({"time":"2026-12-08T12:00:05Z","port":"p","result":"done","channels":[9],"completed":[]})",
                            R"({"time":"2026-12-08T12:00:05Z","port":"p","result":"maybe","channels":[],"completed":[]})"})
        EXPECT_FALSE(TransferRecord::fromJson(bad)) << bad;
}

TEST(TransferRecord, LinesAlreadyInUsersLogsReadAndWriteBackUnchanged)
{
    const QByteArray hash(64, 'e');
    const QList<QByteArray> lines = {
        R"({"channels":[1,2,3],"completed":[1,2],"file":"/home/op/a.zvx","port":"/dev/ttyUSB0","program":"orvex-editor","result":"timed-out","sha256":{"1":")"
            + hash + R"(","2":")" + hash + R"("},"time":"2026-12-08T12:00:05+09:00"})",
        R"({"channels":[8],"completed":[],"port":"tcp://unit:4001","program":"orvex","result":"port-failed","sha256":{},"time":"2026-12-08T03:00:05Z"})",
        R"({"channels":[4],"completed":[],"port":"COM3","program":"orvex","result":"abandoned","sha256":{},"time":"2026-12-08T12:00:05+09:00"})",
    };
    for (const QByteArray &line : lines) {
        const auto record = TransferRecord::fromJson(line);
        ASSERT_TRUE(record) << line.constData();
        EXPECT_FALSE(record->modified);
        EXPECT_EQ(record->toJson(), line);
    }
}

TEST(TransferLog, AppendsNewestLastAndSkipsWhatIsNoRecord)
{
    QTemporaryDir dir;
    const TransferLog log(dir.filePath("state/orvex/transfers.log"));
    EXPECT_TRUE(log.read().records.isEmpty());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(log.append(report(QString::number(i), {1}, {1}, WriteOutcome::Done)), QString());
    }
    // A line cut short by a program that died while writing.
    QFile file(log.path());
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("{\"time\": \"2026-");
    file.close();
    EXPECT_EQ(log.append(report("3", {}, {}, WriteOutcome::Done)), QString());

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
        lines += report(QString::number(i), {}, {}, WriteOutcome::Done).toJson() + '\n';
    QFile file(log.path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(lines);
    file.close();

    ASSERT_EQ(log.append(report("new", {}, {}, WriteOutcome::Done)), QString());
    const TransferLog::Contents contents = log.read();
    ASSERT_EQ(contents.records.size(), TransferLog::MaxLines);
    EXPECT_EQ(contents.records.first().port, QStringLiteral("1"));
    EXPECT_EQ(contents.records.last().port, QStringLiteral("new"));
}

TEST(TransferRecorder, AnUnwritableLogWarnsOnceWithItsReasonAndKeepsTheReport)
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
    EXPECT_EQ(warnings, QStringList(QStringLiteral("記録されませんでした: %1 はフォルダーではありません")
                                        .arg(dir.filePath("not-a-folder"))));
    ASSERT_TRUE(recorder.last());
    EXPECT_EQ(recorder.last()->completedChannels(), QList<int>({2}));
}

TEST(TransferRecorder, StampsTheProgramTheTitleAsItWasWhenTheWriteStartedAndTheTime)
{
    QTemporaryDir dir;
    TransferRecorder recorder(TransferLog(dir.filePath("transfers.log")), "orvex-editor", {});
    TitleSource title{QStringLiteral("/titles/a.zvx"), false};
    recorder.setTitleSource([&title] { return title; });
    recorder.setClock([] { return NoonInTokyo; });
    recorder.writeStarting();
    recorder.record(report("/dev/ttyS0", {3}, {3}, WriteOutcome::Done));

    // Sent with unsaved edits, saved before the write ended: the file was
    // not what went out.
    title.modified = true;
    recorder.writeStarting();
    title = {QStringLiteral("/titles/b.zvx"), false};
    recorder.record(report("/dev/ttyS0", {3}, {}, WriteOutcome::PortFailed));

    const auto records = recorder.log().read().records;
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].file, QStringLiteral("/titles/a.zvx"));
    EXPECT_FALSE(records[0].modified);
    EXPECT_EQ(records[0].time, NoonInTokyo);
    EXPECT_EQ(records[1].file, QStringLiteral("/titles/a.zvx"));
    EXPECT_TRUE(records[1].modified);
    EXPECT_EQ(records[1].program, QStringLiteral("orvex-editor"));
    EXPECT_EQ(records[1].outcome, WriteOutcome::PortFailed);
}

// A named pipe would hold a program up for ever, a link to an endless
// device would fill its memory, and /dev/null would swallow records
// silently: none of them is read or written, and the write goes on.
TEST(TransferLog, OnlyARegularFileIsReadOrWritten)
{
    QTemporaryDir dir;
    const struct
    {
        const char *name;
        std::function<bool(const QString &)> make;
    } cases[] = {
        {"fifo", [](const QString &path) { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; }},
        {"zero", [](const QString &path) { return QFile::link(QStringLiteral("/dev/zero"), path); }},
        {"null", [](const QString &path) { return QFile::link(QStringLiteral("/dev/null"), path); }},
        {"folder", [](const QString &path) { return QDir().mkpath(path); }},
    };
    for (const auto &c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(c.make(path)) << c.name;
        const QString expected = QStringLiteral("%1 は通常のファイルではありません").arg(path);
        QStringList notes;
        TransferRecorder recorder(TransferLog(path), "orvex", [&notes](const QString &note) { notes << note; });
        recorder.record(report("p", {1}, {1}, WriteOutcome::Done));
        EXPECT_EQ(notes, QStringList(QStringLiteral("記録されませんでした: ") + expected)) << c.name;
        EXPECT_TRUE(recorder.last()) << c.name;
        const TransferLog::Contents contents = recorder.log().read();
        EXPECT_EQ(contents.error, expected) << c.name;
        EXPECT_TRUE(contents.records.isEmpty()) << c.name;
    }
}

TEST(LineLog, ReadsAndKeepsOnlyWholeLinesWithinItsBound)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("lines.log");
    // Eight-byte lines ("line 00\n"), 64 bytes read at most: eight lines.
    const LineLog log(path, 100, 64);
    const auto line = [](int i) { return QStringLiteral("line %1").arg(i, 2, 10, QLatin1Char('0')).toLatin1(); };
    QByteArray expected;
    for (int i = 0; i < 8; ++i) {
        ASSERT_EQ(log.append(line(i)), QString());
        expected += line(i) + '\n';
    }
    EXPECT_EQ(log.read().lines, expected);
    for (int i = 8; i < 12; ++i)
        ASSERT_EQ(log.append(line(i)), QString());
    // Past the bound the file keeps the whole lines within it.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    expected = expected.mid(4 * 8) + "line 08\nline 09\nline 10\nline 11\n";
    EXPECT_EQ(file.readAll(), expected);
    EXPECT_EQ(log.read().lines, expected);

    // A longer file written by anyone else is read only at its end.
    ASSERT_TRUE(QFile::remove(path));
    QFile big(path);
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write(QByteArray(1000, 'x') + "\nline 98\nline 99\n");
    big.close();
    EXPECT_EQ(log.read().lines, QByteArray("line 98\nline 99\n"));
}

// Several engines of one program, and several programs, finish writes at
// the same moment, while the oldest lines are being dropped.
TEST(TransferLog, SeveralWritersAtOnceLoseAndMixNothing)
{
    constexpr int Writers = 4, EachWrites = 40;
    for (const int maxLines : {1000, 50}) {
        QTemporaryDir dir;
        const QString path = dir.filePath("transfers.log");
        std::vector<std::thread> writers;
        std::atomic<int> failures{0};
        for (int w = 0; w < Writers; ++w) {
            writers.emplace_back([&, w] {
                const TransferLog log(path, maxLines); // each its own descriptor, as another program's
                for (int i = 0; i < EachWrites; ++i) {
                    TransferRecord r = report(QStringLiteral("w%1").arg(w), {1, 2, 3, 4, 5, 6, 7, 8},
                                              {1, 2, 3, 4, 5, 6, 7, 8}, WriteOutcome::Done);
                    r.file = QString::number(i);
                    if (!log.append(r).isEmpty())
                        ++failures;
                }
            });
        }
        for (std::thread &t : writers)
            t.join();
        EXPECT_EQ(failures.load(), 0);
        const TransferLog::Contents contents = TransferLog(path).read();
        EXPECT_EQ(contents.unreadable, 0) << maxLines;
        EXPECT_EQ(contents.records.size(), std::min(maxLines, Writers * EachWrites)) << maxLines;
        // Each writer's records are there in its order, without a gap.
        std::map<QString, int> next;
        for (const TransferRecord &r : contents.records) {
            const int i = r.file.toInt();
            if (next.count(r.port)) {
                EXPECT_EQ(i, next[r.port]) << r.port.toStdString() << " " << maxLines;
            }
            next[r.port] = i + 1;
        }
    }
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

    const QList<TransferRecord> records = {
        report("A", {1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6}, WriteOutcome::Done, &before),
        // Broke off in channel 4: 5 and 6 were never started.
        report("A", {4, 5, 6}, {}, WriteOutcome::TimedOut, &before),
        // Refused: nothing went out.
        report("A", {1}, {}, WriteOutcome::Refused, &before),
        // Another unit.
        report("B", {7, 8}, {7, 8}, WriteOutcome::Done, &before),
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
