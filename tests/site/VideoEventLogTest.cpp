// The video-events log: one JSON line per change, in the transfer log's
// way of appending (several writers at once are tested there).

#include "site/VideoEventLog.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>


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
