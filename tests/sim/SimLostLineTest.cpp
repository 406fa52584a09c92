// The orvex tool when the device goes away or answers late, over a real
// pseudo-terminal.

#include "support/QtPrinters.h"
#include "support/SimProcess.h"

#include "core/TitleData.h"
#include "core/ZvxWriter.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(SimLostLine, SendToADeviceKilledMidWriteEndsAtOnceWithOneMessage)
{
    ASSERT_FALSE(SimProcess::buildDir().isEmpty()) << "ORVEX_BUILD_DIR is not set";
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("title.zvx"));
    TitleData data;
    data.setDefaults();
    ASSERT_TRUE(ZvxWriter::writeFile(file, data).ok);

    SimProcess sim;
    // At the real line rate all eight channels take many seconds: the kill
    // surely lands in the middle.
    ASSERT_TRUE(sim.start({QStringLiteral("--line-rate"), QStringLiteral("9600")}));
    const SimProcess::Run run = SimProcess::sendAndPullMidWrite(file, sim.device(), [&] { sim.kill(); });
    const QString &err = run.err;

    EXPECT_EQ(run.exitCode, 1) << run.out.toStdString();
    EXPECT_LT(run.ms, 3000);
    // One message, then the way to finish the job.
    EXPECT_EQ(err.count(u'\n'), 2) << err.toStdString();
    EXPECT_TRUE(err.section(u'\n', 1).startsWith(QStringLiteral("orvex: to finish the job: "))) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("通信ポートを開けません。"))) << err.toStdString();
    EXPECT_TRUE(err.contains(sim.device())) << "names the device";
    EXPECT_FALSE(err.contains(QStringLiteral("未定義エラー発生")));
}

TEST(SimLostLine, StatusFromADeviceAnsweringLateIsNeverTakenForCertain)
{
    ASSERT_FALSE(SimProcess::buildDir().isEmpty()) << "ORVEX_BUILD_DIR is not set";
    SimProcess sim;
    // Every reply comes after the time-out, so it may answer the question
    // asked after it.
    ASSERT_TRUE(sim.start({QStringLiteral("--delay"), QStringLiteral("1000")}));
    const auto run = SimProcess::runTool({QStringLiteral("status"), QStringLiteral("--port"), sim.device()});
    // Either the time-outs ran out (1) or the values came with a warning (3).
    EXPECT_NE(run.exitCode, 0) << run.out.toStdString();
    if (run.exitCode == 3)
        EXPECT_TRUE(run.err.contains(QStringLiteral("asked again"))) << run.err.toStdString();
    else
        EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
}
