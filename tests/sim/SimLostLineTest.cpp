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
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    tool.setProcessEnvironment(env);
    tool.start(SimProcess::toolPath(), {QStringLiteral("send"), file, QStringLiteral("--port"), sim.device()});
    ASSERT_TRUE(tool.waitForStarted(30000));

    // Under way: the screen rows of channel 1 are going out.
    QByteArray out;
    const QDeadlineTimer started(60000);
    while (!out.contains("チャンネル1画面データ送信中です") && !started.hasExpired()) {
        tool.waitForReadyRead(int(started.remainingTime()));
        out += tool.readAllStandardOutput();
    }
    ASSERT_TRUE(out.contains("チャンネル1画面データ送信中です")) << out.toStdString();

    sim.kill();
    QElapsedTimer sinceKill;
    sinceKill.start();
    ASSERT_TRUE(tool.waitForFinished(30000));
    const qint64 ms = sinceKill.elapsed();
    const QString err = QString::fromUtf8(tool.readAllStandardError());

    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 1);
    EXPECT_LT(ms, 3000);
    EXPECT_EQ(err.count(u'\n'), 1) << err.toStdString();
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
