// One unit's link in virtual time: what a poll shows and signals, and a
// write whose port will not open ending with its report and reason.

#include "site/UnitLink.h"

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
    UnitLink link(QStringLiteral("/dev/ttyUSB0"), platform);
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
    UnitLink link(QStringLiteral("/dev/ttyUSB0"), platform);
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
