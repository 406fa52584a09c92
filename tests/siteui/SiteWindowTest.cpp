// The site window on scripted units: simulators on pseudo-terminals, a unit
// that is not there, the transfer log and the video-events log in a scratch
// state folder.

#include "siteui/SiteTree.h"
#include "siteui/SiteWindow.h"

#include "link/history/TransferLog.h"
#include "link/UnitStatus.h"
#include "site/SiteMake.h"
#include "site/VideoEventLog.h"
#include "support/RecordingMessageBoxes.h"
#include "support/SimProcess.h"
#include "support/WaitFor.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

constexpr int WriteDeadlineMs = 60000;
constexpr int PollDeadlineMs = 20000;

class SiteWindowTest : public ::testing::Test
{
protected:
    SiteWindowTest() : m_savedState(qgetenv("XDG_STATE_HOME"))
    {
        qputenv("XDG_STATE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("state"))));
    }
    ~SiteWindowTest() override
    {
        delete window;
        qputenv("XDG_STATE_HOME", m_savedState);
    }

    void SetUp() override { ASSERT_FALSE(SimProcess::buildDir().isEmpty()) << "ORVEX_BUILD_DIR is not set"; }

    // Opens `csv` as "サイトを開く…" does; null when it was refused.
    SiteWindow *open(const QByteArray &csv)
    {
        const QString file = dir.filePath(QStringLiteral("site.csv"));
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(csv);
        out.close();
        window = SiteWindow::open(file, boxes, nullptr);
        if (window) {
            window->setAttribute(Qt::WA_DeleteOnClose, false);
            window->setMakeSettings([this] {
                TitlesMake::Settings settings;
                settings.workFolder = dir.filePath(QStringLiteral("work/"));
                return settings;
            });
        }
        return window;
    }

    QString stateFile(const QString &name) const { return dir.filePath(QStringLiteral("state/orvex/") + name); }

    QList<QJsonObject> logLines(const QString &name) const
    {
        QFile file(stateFile(name));
        QList<QJsonObject> lines;
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : file.readAll().split('\n')) {
                if (!line.isEmpty())
                    lines << QJsonDocument::fromJson(line).object();
            }
        }
        return lines;
    }

    QString text(int unit, int column) const { return window->tree().unitRow(unit)->text(column); }
    QString lamp(int unit, int channel) const
    {
        return window->tree().cameraRow(unit, channel)->text(SiteTree::StateColumn);
    }

    QTemporaryDir dir;
    RecordingMessageBoxes boxes;
    SiteWindow *window = nullptr;

private:
    QByteArray m_savedState;
};

TEST_F(SiteWindowTest, ShowsEveryUnitAndCameraWithItsLastWrite)
{
    TransferRecord earlier;
    earlier.time = QDateTime(QDate(2026, 3, 1), QTime(9, 30));
    earlier.program = QStringLiteral("orvex");
    earlier.port = QStringLiteral("/dev/null/a");
    earlier.asked = {true, true};
    earlier.completed = {true, true};
    ASSERT_TRUE(TransferLog(stateFile(TransferLog::FileName)).append(earlier).isEmpty());

    ASSERT_TRUE(open("装置,アドレス,CH,カメラ名,メモ\n"
                     "A,/dev/null/a,1,正門,east\n"
                     "A,,2,\"Yard, north\",\n"
                     "B,,3,Door,\n"));
    SiteTree &tree = window->tree();
    ASSERT_EQ(tree.topLevelItemCount(), 2);
    EXPECT_EQ(text(0, SiteTree::UnitColumn), QStringLiteral("A"));
    EXPECT_EQ(text(0, SiteTree::AddressColumn), QStringLiteral("/dev/null/a"));
    EXPECT_EQ(text(0, SiteTree::LastWriteColumn), QStringLiteral("2026-03-01 09:30  完了"));
    EXPECT_EQ(tree.unitRow(0)->childCount(), 2);
    EXPECT_EQ(tree.cameraRow(0, 1)->text(SiteTree::UnitColumn), QStringLiteral("CH1  正門"));
    EXPECT_EQ(tree.cameraRow(0, 2)->text(SiteTree::UnitColumn), QStringLiteral("CH2  Yard, north"));
    EXPECT_EQ(text(1, SiteTree::StateColumn), QStringLiteral("アドレスなし"));
    EXPECT_EQ(text(1, SiteTree::LastWriteColumn), QStringLiteral("—"));
    // The unit that is not there is said so, its cameras unknown.
    ASSERT_TRUE(waitFor([&] { return text(0, SiteTree::StateColumn).startsWith(QStringLiteral("応答なし")); },
                        PollDeadlineMs));
    EXPECT_EQ(lamp(0, 1), SiteTree::lampText(std::nullopt));
}

TEST_F(SiteWindowTest, RefusedScheduleIsToldWithItsLineAndOpensNothing)
{
    const struct
    {
        QByteArray csv;
        QString said;
    } cases[] = {
        {"unit,channel,title\nA,9,Gate\n", QStringLiteral("line 2, column channel")},
        {"unit,channel,title\nA,1,Gate\nA,1,Yard\n", QStringLiteral("line 3, column channel")},
        {"unit,title\nA,Gate\n", QStringLiteral("channel")},
    };
    for (const auto &c : cases) {
        boxes.texts.clear();
        EXPECT_EQ(open(c.csv), nullptr) << c.csv.toStdString();
        ASSERT_EQ(boxes.texts.size(), 1);
        EXPECT_TRUE(boxes.texts[0].contains(c.said)) << boxes.texts[0].toStdString();
    }
}

TEST_F(SiteWindowTest, WritesEveryUnitAtOnceAndSaysWhichFailed)
{
    SimProcess a, b;
    ASSERT_TRUE(a.start());
    ASSERT_TRUE(b.start());
    const QString gone = dir.filePath(QStringLiteral("no-such-port"));
    ASSERT_TRUE(open("unit,address,channel,title\nA," + a.device().toUtf8() + ",1,Gate\nB," + b.device().toUtf8()
                     + ",2,Yard\nC," + gone.toUtf8() + ",1,Door\n"));
    for (QPushButton *button : window->findChildren<QPushButton *>()) {
        if (button->text() == QStringLiteral("すべて作成"))
            button->click();
    }
    for (const char *unit : {"A", "B", "C"})
        EXPECT_TRUE(QFile::exists(SiteMake::unitFile(window->folder(), QString::fromLatin1(unit)))) << unit;

    window->writeAll(false);
    EXPECT_TRUE(window->writing());
    ASSERT_TRUE(waitFor([&] { return !window->writing(); }, WriteDeadlineMs));
    EXPECT_EQ(text(0, SiteTree::WriteColumn), QStringLiteral("完了"));
    EXPECT_EQ(text(1, SiteTree::WriteColumn), QStringLiteral("完了"));
    EXPECT_TRUE(text(2, SiteTree::WriteColumn).startsWith(QStringLiteral("失敗"))) << text(2, SiteTree::WriteColumn).toStdString();
    EXPECT_EQ(window->tree().writePercent(0), std::nullopt);
    EXPECT_TRUE(text(0, SiteTree::LastWriteColumn).endsWith(QStringLiteral("完了")));
    EXPECT_EQ(logLines(TransferLog::FileName).size(), 3);

    // Polling comes back once the ports are free.
    EXPECT_TRUE(waitFor([&] { return text(0, SiteTree::StateColumn).startsWith(QStringLiteral("応答あり")); },
                        PollDeadlineMs));
}

TEST_F(SiteWindowTest, ClosedMidWriteRecordsTheWriteAsAbandoned)
{
    SimProcess a;
    ASSERT_TRUE(a.start({QStringLiteral("--line-rate"), QStringLiteral("9600")}));
    ASSERT_TRUE(open("unit,address,channel,title\nA," + a.device().toUtf8() + ",1,Gate\n"));
    window->makeAll();
    window->writeAll(false);
    ASSERT_TRUE(waitFor([&] { return window->tree().writePercent(0).value_or(0) > 0; },
                        WriteDeadlineMs));
    window->close();
    delete window;
    window = nullptr;
    const QList<QJsonObject> records = logLines(TransferLog::FileName);
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0][QStringLiteral("result")].toString(), QStringLiteral("abandoned"));
}

TEST_F(SiteWindowTest, LampFollowsTheVideoOfACamera)
{
    const QString link = dir.filePath(QStringLiteral("unit-a"));
    auto sim = std::make_unique<SimProcess>();
    // Input 2 without video.
    ASSERT_TRUE(sim->start({QStringLiteral("--link"), link, QStringLiteral("--video-loss"), QStringLiteral("2")}));
    ASSERT_TRUE(open("unit,address,channel,title\nA," + link.toUtf8() + ",1,Gate\nA,,2,Yard\n"));
    ASSERT_TRUE(waitFor([&] { return lamp(0, 2) == SiteTree::lampText(true); }, PollDeadlineMs));
    EXPECT_EQ(lamp(0, 1), SiteTree::lampText(false));
    QTreeWidgetItem *yard = window->tree().cameraRow(0, 2);
    EXPECT_EQ(yard->text(SiteTree::UnitColumn), QStringLiteral("CH2  Yard"));
    EXPECT_NE(yard->foreground(SiteTree::UnitColumn).color(), window->tree().cameraRow(0, 1)->foreground(0).color());

    // The unit comes back with every camera's video.
    sim->kill();
    sim = std::make_unique<SimProcess>();
    ASSERT_TRUE(sim->start({QStringLiteral("--link"), link}));
    ASSERT_TRUE(waitFor([&] { return lamp(0, 2) == SiteTree::lampText(false); }, PollDeadlineMs));
    EXPECT_EQ(yard->foreground(SiteTree::UnitColumn), window->tree().cameraRow(0, 1)->foreground(0));

    const QList<QJsonObject> events = logLines(VideoEventLog::FileName);
    ASSERT_EQ(events.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(events[i][QStringLiteral("unit")].toString(), QStringLiteral("A"));
        EXPECT_EQ(events[i][QStringLiteral("channel")].toInt(), 2);
        EXPECT_EQ(events[i][QStringLiteral("title")].toString(), QStringLiteral("Yard"));
        EXPECT_EQ(events[i][QStringLiteral("lost")].toBool(), i == 0);
    }
}

} // namespace

// What each front end shows of one unit, as the keys of `orvex status --json`.
TEST_F(SiteWindowTest, EveryFrontEndShowsOneUnitAlike)
{
    SimProcess sim;
    // Inputs 2 and 5 without video; channel 1 active, the overlay centred, black 0 %, white 100 %.
    ASSERT_TRUE(sim.start({QStringLiteral("--video-loss"), QStringLiteral("18")}));
    QByteArray csv = "unit,address,channel,title\n";
    for (int channel = 1; channel <= 8; ++channel)
        csv += "A," + sim.device().toUtf8() + ',' + QByteArray::number(channel) + ",Cam\n";
    const QString schedule = dir.filePath(QStringLiteral("poll.csv"));
    QFile file(schedule);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(csv);
    file.close();

    UnitStatus unit;
    unit.channel = 0;
    unit.hpos = unit.vpos = 0;
    unit.black = 0;
    unit.white = 1;
    unit.showVideoLoss(1, true);
    unit.showVideoLoss(4, true);
    const QJsonObject expected = unit.jsonObject();

    const auto toolStatus = [](const QStringList &args) {
        const auto run = SimProcess::runTool(args);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return QJsonDocument::fromJson(run.out.toUtf8());
    };
    const struct
    {
        const char *frontEnd;
        std::function<QJsonObject()> shown;
        int keys;
    } cases[] = {
        {"orvex status --json",
         [&] { return toolStatus({"status", "--port", sim.device(), "--json"}).object(); }, 6},
        {"orvex site status --json",
         [&] {
             return toolStatus({"site", "status", schedule, "--json"})
                 .array()[0]
                 .toObject()[QStringLiteral("status")]
                 .toObject();
         },
         6},
        // The window shows the active channel and a lamp per camera.
        {"site window",
         [&] {
             if (!open(csv) || !waitFor([&] { return text(0, SiteTree::StateColumn).contains(u"表示中"); },
                                        PollDeadlineMs))
                 return QJsonObject();
             const QString state = text(0, SiteTree::StateColumn);
             QJsonArray lost;
             for (int channel = 1; channel <= 8; ++channel) {
                 if (lamp(0, channel) == SiteTree::lampText(true))
                     lost.append(channel);
             }
             const int at = int(state.indexOf(QStringLiteral("CH")));
             return QJsonObject{{QStringLiteral("channel"), state.mid(at + 2, 1).toInt()},
                                {QStringLiteral("video_loss"), lost}};
         },
         2},
    };
    for (const auto &c : cases) {
        const QJsonObject shown = c.shown();
        EXPECT_EQ(shown.size(), c.keys) << c.frontEnd;
        for (auto it = shown.begin(); it != shown.end(); ++it)
            EXPECT_EQ(it.value(), expected[it.key()]) << c.frontEnd << ": " << it.key().toStdString();
    }
}
