// One unit's link in virtual time: what a poll shows and signals, and a
// write whose port will not open ending with its report and reason.

#include "site/UnitLink.h"

#include "link/LinkMessages.h"

#include "support/FakeLinkPlatform.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

// Virtual time runs the line; the link's own ends come through the event loop.
void run(FakeLinkPlatform &platform, int ms)
{
    platform.clock.advance(ms);
    QCoreApplication::processEvents();
}

} // namespace

TEST(UnitLink, APollShowsTheUnitAndSignalsEachInputFirstSeenLost)
{
    FakeLinkPlatform platform;
    UnitLink link(QStringLiteral("A"), QStringLiteral("/dev/ttyUSB0"), platform);
    QList<int> lost;
    QObject::connect(&link, &UnitLink::videoChanged, [&](int input, bool isLost) {
        if (isLost)
            lost << input;
    });
    int polls = 0;
    QObject::connect(&link, &UnitLink::polled, [&](bool answered, const QString &) { polls += answered; });

    link.poll(true);
    run(platform, 1000);
    ASSERT_EQ(polls, 1);
    EXPECT_EQ(link.status().channel, 2);
    EXPECT_EQ(lost, QList<int>({1, 3, 4, 6}));
    // The next poll 2 s later changes nothing, so says nothing.
    run(platform, 3000);
    EXPECT_EQ(polls, 2);
    EXPECT_EQ(lost.size(), 4);
    link.stop();
}

TEST(UnitLink, AWriteThatCannotOpenItsPortEndsWithItsReportAndReason)
{
    FakeLinkPlatform platform;
    platform.openFails = true;
    UnitLink link(QStringLiteral("A"), QStringLiteral("/dev/ttyUSB0"), platform);
    TitleData title;
    title.setDefaults();
    std::optional<TransferRecord> report;
    QString error;
    QObject::connect(&link, &UnitLink::writeFinished, [&](const TransferRecord &r, const QString &why) {
        report = r;
        error = why;
    });
    std::array<bool, Title::Channels> channels{};
    channels[2] = true;
    link.write(title, channels);
    run(platform, 100);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->outcome, WriteOutcome::PortFailed);
    EXPECT_EQ(report->unfinishedChannels(), QList<int>({3}));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(link.busy());
}

// A watched unit that stops answering is lost and asked again on the link's
// own timer with a back-off up to 5 s; once back it is polled every 2 s.
TEST(UnitLink, ALostUnitIsAskedAgainWithABackOffUntilItAnswers)
{
    FakeLinkPlatform platform;
    platform.openFails = true;
    UnitLink link(QStringLiteral("A"), QStringLiteral("/dev/ttyUSB0"), platform);
    QList<long long> tries;
    QList<bool> answers;
    QObject::connect(&link, &UnitLink::polled, [&](bool answered, const QString &) {
        tries << platform.clock.now();
        answers << answered;
    });
    link.poll(true);
    while (tries.size() < 7)
        run(platform, 1);
    const long long t = tries[0]; // waits of 0.5, 1, 2, 4, 5 and 5 s
    EXPECT_EQ(tries, (QList<long long>{t, t + 500, t + 1500, t + 3500, t + 7500, t + 12500, t + 17500}));
    EXPECT_TRUE(link.lostMessage().startsWith(QStringLiteral("A に接続できません（通信ポートを開けません")));

    platform.openFails = false;
    const long long back = tries.last() + 5000;
    while (answers.size() < 10)
        run(platform, 1);
    EXPECT_EQ(answers.mid(7), (QList<bool>{true, true, true}));
    EXPECT_TRUE(tries[7] >= back && tries[7] < back + 1000) << "asked at the next try";
    EXPECT_TRUE(tries[8] - tries[7] >= 2000 && tries[8] - tries[7] < 2500) << "polled as before";
    EXPECT_EQ(tries[9] - tries[8], tries[8] - tries[7]);
    EXPECT_TRUE(link.lostMessage().isEmpty());
}

// A watch's line for a lost unit says what went wrong, not a window's advice.
TEST(UnitLink, TheLostLineSaysWhyWithoutTheWindowsAdvice)
{
    const QStringList cases[] = {
        {LinkMessages::cannotOpen(QStringLiteral("tcp://h:1"), OpenFailure::Refused, QStringLiteral("ECONNREFUSED"), true),
         QStringLiteral("通信ポートを開けません。tcp://h:1 に接続を拒否されました（ECONNREFUSED）")},
        {LinkMessages::cannotOpen(QStringLiteral("/dev/ttyS0"), OpenFailure::Denied, QStringLiteral("EACCES")),
         QStringLiteral("通信ポートを開けません。/dev/ttyS0 を開く権限がありません（EACCES）")},
        {QString(), QStringLiteral("応答がありません")},
    };
    for (const QStringList &c : cases)
        EXPECT_EQ(LinkMessages::unitLost(QStringLiteral("2号機"), c[0]),
                  QStringLiteral("2号機 に接続できません（%1）。再接続を待っています").arg(c[1]));
}
