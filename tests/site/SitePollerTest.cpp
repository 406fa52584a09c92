// Every unit polled at once: a simulator with lost video on some inputs,
// a unit without an address, and the video-events log.

#include "site/SitePoller.h"

#include "support/FakeLinkPlatform.h"
#include "support/SimProcess.h"
#include "support/WaitFor.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(SitePoller, ShowsEachUnitAndLogsVideoFirstSeenLostForScheduledCameras)
{
    SimProcess sim;
    // Inputs 1 and 3 without video; the schedule names channels 1 and 2.
    ASSERT_TRUE(sim.start({"--video-loss", "5"}));
    const QByteArray csv = "unit,address,channel,title\nA," + sim.device().toUtf8()
                           + ",1,Gate\nA,,2,Yard\nB,,1,Door\n";
    const SiteSchedule::Read read = SiteSchedule::parse(csv);
    ASSERT_TRUE(read.schedule) << read.error.toStdString();

    QTemporaryDir dir;
    SitePoller poller(*read.schedule);
    poller.setEventLog(VideoEventLog(dir.filePath(QStringLiteral("video-events.log"))));
    QStringList events;
    QObject::connect(&poller, &SitePoller::videoChanged,
                     [&](const QString &unit, int channel, const QString &title, bool lost) {
                         events << QStringLiteral("%1 %2 %3 %4").arg(unit).arg(channel).arg(title).arg(lost);
                     });
    int polls = 0;
    QObject::connect(&poller, &SitePoller::unitPolled, [&](int index) { polls += index == 0; });
    poller.start(true);
    // Two polls of A: the second sees no change, so logs nothing.
    ASSERT_TRUE(waitFor([&] { return polls >= 2; }, 30000));
    poller.stop();

    const SitePoller::Unit &a = poller.units()[0];
    EXPECT_TRUE(a.answered) << a.error.toStdString();
    EXPECT_EQ(a.status.channel, 0);
    EXPECT_TRUE(a.status.videoLossKnown);
    EXPECT_TRUE(a.status.videoLoss[0]);
    EXPECT_TRUE(a.status.videoLoss[2]);
    const SitePoller::Unit &b = poller.units()[1];
    EXPECT_FALSE(b.answered);
    EXPECT_EQ(b.error, QStringLiteral("the schedule gives it no address"));

    EXPECT_EQ(events, QStringList{QStringLiteral("A 1 Gate 1")});
    QFile log(dir.filePath(QStringLiteral("video-events.log")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 1);
    const QJsonObject line = QJsonDocument::fromJson(lines[0]).object();
    EXPECT_EQ(line[QStringLiteral("unit")].toString(), QStringLiteral("A"));
    EXPECT_EQ(line[QStringLiteral("channel")].toInt(), 1);
    EXPECT_TRUE(line[QStringLiteral("lost")].toBool());
}

// Watching, a unit that stops answering is said lost once however often it
// is asked again, and back once; a single poll loses nothing.
TEST(SitePoller, AWatchSaysEachUnitLostOnceAndBackOnce)
{
    const SiteSchedule::Read read = SiteSchedule::parse("unit,address,channel,title\nA,/dev/ttyUSB0,1,Gate\nB,tcp://h:7001,1,Yard\n");
    ASSERT_TRUE(read.schedule) << read.error.toStdString();
    FakeLinkPlatform platform;
    platform.openFails = true;
    SitePoller poller(*read.schedule, &platform);
    QStringList said;
    QObject::connect(&poller, &SitePoller::unitLost, [&](int i) { said << poller.units()[i].name + " lost"; });
    QObject::connect(&poller, &SitePoller::unitBack, [&](int i) { said << poller.units()[i].name + " back"; });
    const auto run = [&](bool repeat, int ms, bool fail) {
        poller.start(repeat);
        platform.openFails = fail;
        for (int i = 0; i < ms; ++i) {
            platform.clock.advance(1);
            QCoreApplication::processEvents();
        }
    };
    run(false, 100, true);
    EXPECT_EQ(said, QStringList());
    run(true, 15000, true);
    EXPECT_EQ(said, (QStringList{"A lost", "B lost"}));
    run(true, 6000, false);
    EXPECT_EQ(said, (QStringList{"A lost", "B lost", "A back", "B back"}));
    EXPECT_TRUE(poller.units()[0].answered && poller.units()[0].lost.isEmpty());
}
