// Lines appended by many writers at once stay whole and all arrive.

#include "site/AppendLine.h"
#include "site/VideoEventLog.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(AppendLine, ManyWritersAtOnceLoseAndMixNoLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("state/video-events.log"));
    constexpr int Writers = 4;
    constexpr int Lines = 300;
    std::vector<std::thread> writers;
    for (int w = 0; w < Writers; ++w) {
        writers.emplace_back([&path, w] {
            for (int n = 0; n < Lines; ++n) {
                // Long enough that a split write would show.
                const QByteArray line = QByteArray::number(w) + ':' + QByteArray::number(n) + ':' + QByteArray(3000, char('a' + w));
                EXPECT_TRUE(AppendLine::append(path, line).isEmpty());
            }
        });
    }
    for (std::thread &t : writers)
        t.join();

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QSet<QByteArray> seen;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        const QList<QByteArray> parts = line.split(':');
        ASSERT_EQ(parts.size(), 3);
        EXPECT_EQ(parts[2], QByteArray(3000, char('a' + parts[0].toInt())));
        seen.insert(parts[0] + ':' + parts[1]);
    }
    EXPECT_EQ(seen.size(), Writers * Lines);
}

TEST(AppendLine, SaysWhyAFileCannotBeWritten)
{
    QTemporaryDir dir;
    // A folder where the log should be.
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("log"))));
    EXPECT_TRUE(AppendLine::append(dir.filePath(QStringLiteral("log")), "x").startsWith(QStringLiteral("cannot write")));
}

TEST(VideoEventLog, WritesOneJsonLinePerEvent)
{
    QTemporaryDir dir;
    const VideoEventLog log(dir.filePath(QStringLiteral("video-events.log")));
    VideoEventLog::Event event;
    event.time = QDateTime(QDate(2026, 5, 1), QTime(8, 30), Qt::OffsetFromUTC, 9 * 3600);
    event.unit = QStringLiteral("1号機");
    event.channel = 3;
    event.title = QStringLiteral("正門");
    event.lost = true;
    ASSERT_TRUE(log.append(event).isEmpty());
    event.lost = false;
    ASSERT_TRUE(log.append(event).isEmpty());

    QFile file(log.path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 3);
    const QJsonObject first = QJsonDocument::fromJson(lines[0]).object();
    EXPECT_EQ(first[QStringLiteral("time")].toString(), QStringLiteral("2026-05-01T08:30:00+09:00"));
    EXPECT_EQ(first[QStringLiteral("unit")].toString(), QStringLiteral("1号機"));
    EXPECT_EQ(first[QStringLiteral("channel")].toInt(), 3);
    EXPECT_EQ(first[QStringLiteral("title")].toString(), QStringLiteral("正門"));
    EXPECT_TRUE(first[QStringLiteral("lost")].toBool());
    EXPECT_FALSE(QJsonDocument::fromJson(lines[1]).object()[QStringLiteral("lost")].toBool());
}
