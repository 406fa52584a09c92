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

// A watched unit that stops answering is asked again on the link's own
// timer, soon at first and then less often, never more than 5 s apart;
// one message says it is lost until it answers, and then it is polled
// every 2 s again.
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
    QList<long long> gaps;
    for (int i = 1; i < int(tries.size()); ++i)
        gaps << tries[i] - tries[i - 1];
    EXPECT_EQ(gaps, (QList<long long>{500, 1000, 2000, 4000, 5000, 5000}));
    EXPECT_TRUE(link.lostMessage().startsWith(QStringLiteral("A に接続できません（通信ポートを開けません")))
        << link.lostMessage().toStdString();
    EXPECT_TRUE(link.lostMessage().endsWith(QStringLiteral("）。再接続を待っています")));

    platform.openFails = false;
    const long long back = tries.last() + 5000;
    while (answers.size() < 10)
        run(platform, 1);
    EXPECT_EQ(answers.mid(7), (QList<bool>{true, true, true}));
    EXPECT_GE(tries[7], back);
    EXPECT_LT(tries[7], back + 1000) << "asked at the next try";
    EXPECT_EQ(tries[9] - tries[8], tries[8] - tries[7]);
    EXPECT_GE(tries[8] - tries[7], 2000) << "polled as before";
    EXPECT_LT(tries[8] - tries[7], 2500);
    EXPECT_TRUE(link.lostMessage().isEmpty());
    link.stop();
}

// The line a watch gives when it loses a unit keeps what went wrong and
// drops the advice meant for a window.
TEST(UnitLink, TheLostLineSaysWhyWithoutTheWindowsAdvice)
{
    const struct
    {
        QString warning;
        QString reason;
    } cases[] = {
        {LinkMessages::cannotOpen(QStringLiteral("tcp://rack:7001"), OpenFailure::Refused, QStringLiteral("Connection refused"), true),
         QStringLiteral("通信ポートを開けません。tcp://rack:7001 に接続を拒否されました（Connection refused）")},
        {LinkMessages::cannotOpen(QStringLiteral("/dev/ttyUSB0"), OpenFailure::Denied, QStringLiteral("Permission denied")),
         QStringLiteral("通信ポートを開けません。/dev/ttyUSB0 を開く権限がありません（Permission denied）")},
        {LinkMessages::timedOut(), QStringLiteral("通信がタイムアウトしました")},
        {QString(), QStringLiteral("応答がありません")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(LinkMessages::unitLost(QStringLiteral("2号機"), c.warning),
                  QStringLiteral("2号機 に接続できません（%1）。再接続を待っています").arg(c.reason))
            << c.warning.toStdString();
}
