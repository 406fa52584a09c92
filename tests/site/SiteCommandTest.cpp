// `orvex site make|send|status` run as an installer would: the titles
// against `orvex titles`, every unit written at once to simulators (one
// switched off mid-write, one never there), `--changed`, and the poll.

#include "site/SiteMake.h"

#include "core/TitleData.h"
#include "core/ZvxReader.h"
#include "core/ZvxWriter.h"
#include "support/ExpectedDeviceState.h"
#include "support/Ser2netProcess.h"
#include "support/SimProcess.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class OrvexSite : public ::testing::Test
{
protected:
    OrvexSite() : m_savedState(qgetenv("XDG_STATE_HOME"))
    {
        qputenv("XDG_STATE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("state"))));
    }
    ~OrvexSite() override { qputenv("XDG_STATE_HOME", m_savedState); }

    void SetUp() override { ASSERT_FALSE(SimProcess::buildDir().isEmpty()) << "ORVEX_BUILD_DIR is not set"; }

    QString path(const QString &name) const { return dir.filePath(name); }

    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static QByteArray contents(const QString &fileName)
    {
        QFile file(fileName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    std::unique_ptr<TitleData> readTitle(const QString &fileName)
    {
        auto data = std::make_unique<TitleData>();
        data->setDefaults();
        EXPECT_TRUE(ZvxReader::readFile(fileName, *data).ok()) << fileName.toStdString();
        return data;
    }

    void expectUnitHolds(const QJsonObject &state, const TitleData &data)
    {
        const QJsonArray channels = state[QStringLiteral("channels")].toArray();
        for (int ch = 0; ch < Title::Channels; ++ch) {
            const QJsonObject channel = channels[ch].toObject();
            EXPECT_EQ(QByteArray::fromHex(channel[QStringLiteral("page")].toString().toLatin1()), expectedPage(data, ch))
                << "channel " << ch + 1;
            const QJsonArray patterns = channel[QStringLiteral("patterns")].toArray();
            ASSERT_EQ(patterns.size(), 26);
            for (int slot = 1; slot < 26; ++slot)
                EXPECT_EQ(QByteArray::fromHex(patterns[slot].toString().toLatin1()),
                          expectedPattern(data.DotData[25 * ch + slot]))
                    << "channel " << ch + 1 << " slot " << slot;
        }
    }

    QTemporaryDir dir;

private:
    QByteArray m_savedState;
};

constexpr int FramesPerChannel = 43;

} // namespace

TEST_F(OrvexSite, MakeIsTitlesPerUnitAndKeepsWhatTheScheduleDoesNotName)
{
    // Unit A's file exists with a title on channel 6, which the schedule leaves alone.
    writeFile(QStringLiteral("list6.txt"), "\n\n\n\n\nOld six\n");
    ASSERT_EQ(SimProcess::runTool({"titles", "-", path("list6.txt"), path("before.zvx")}).exitCode, 0);
    QDir().mkpath(path("site"));
    ASSERT_TRUE(QFile::copy(path("before.zvx"), path("site/A.zvx")));

    writeFile(QStringLiteral("site.csv"),
              "unit,channel,title\nA,1,Gate\nA,3,Yard\nB,2,ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdef\nB,4,\n");
    const QStringList options = {"--no-edge", "--cell", "31"};
    const auto made = SimProcess::runTool(QStringList{"site", "make", path("site.csv"), path("site")} + options);
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    EXPECT_TRUE(made.err.contains(QStringLiteral("orvex: warning: B CH2: "))) << made.err.toStdString();
    EXPECT_FALSE(made.err.contains(QStringLiteral("A CH"))) << made.err.toStdString();

    writeFile(QStringLiteral("listA.txt"), "Gate\n\nYard\n");
    writeFile(QStringLiteral("listB.txt"), "\nABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdef\n");
    ASSERT_EQ(SimProcess::runTool(QStringList{"titles", path("before.zvx"), path("listA.txt"), path("A.zvx")} + options)
                  .exitCode,
              0);
    ASSERT_EQ(SimProcess::runTool(QStringList{"titles", "-", path("listB.txt"), path("B.zvx")} + options).exitCode, 0);
    EXPECT_EQ(contents(path("site/A.zvx")), contents(path("A.zvx")));
    EXPECT_EQ(contents(path("site/B.zvx")), contents(path("B.zvx")));
    EXPECT_EQ(readTitle(path("site/A.zvx"))->ChText[5], QStringLiteral("Old six"));

    // A refused schedule writes nothing at all.
    writeFile(QStringLiteral("bad.csv"), "unit,channel,title\nC,1,Gate\nD,9,Yard\n");
    const auto refused = SimProcess::runTool({"site", "make", path("bad.csv"), path("site")});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("row 3, column channel"))) << refused.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("site/C.zvx")));
}

TEST_F(OrvexSite, SendWritesEveryUnitAtOnceAndNamesTheFailedOnesWithTheirHint)
{
    SimProcess a, b, c;
    ASSERT_TRUE(a.start());
    ASSERT_TRUE(b.start());
    // Switched off in channel 3.
    ASSERT_TRUE(c.start({"--switch-off-after", QString::number(2 * FramesPerChannel + 10)}));
    const QString absent = path("absent-tty");
    auto schedule = [&](const char *aTwo) {
        return "unit,address,channel,title,note\n"
               "A," + a.device().toUtf8() + ",1,Gate,\n"
               "A,,2," + QByteArray(aTwo) + ",\n"
               "B," + b.device().toUtf8() + ",1,Door,\n"
               "C," + c.device().toUtf8() + ",1,Hall,\n"
               "D," + absent.toUtf8() + ",1,Roof,\"never, there\"\n";
    };
    writeFile(QStringLiteral("site.csv"), schedule("Yard"));
    ASSERT_EQ(SimProcess::runTool({"site", "make", path("site.csv"), path("site")}).exitCode, 0);

    const auto run = SimProcess::runTool({"site", "send", path("site.csv"), path("site")});
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("A: completed channels 1,2,3,4,5,6,7,8\n"))) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("B: completed channels 1,2,3,4,5,6,7,8\n"))) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("C: チャンネル3画面データ送信中です"))) << run.out.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("orvex: to finish C: orvex send %1 --port %2 --channels 3,4,5,6,7,8")
                                     .arg(path("site/C.zvx"), c.device())))
        << run.err.toStdString() << run.out.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("orvex: to finish D: orvex send %1 --port %2 --channels 1,2,3,4,5,6,7,8")
                                     .arg(path("site/D.zvx"), absent)))
        << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QStringLiteral("to finish A"))) << run.err.toStdString();

    // One record per unit.
    const QList<QByteArray> records = contents(path("state/orvex/transfers.log")).trimmed().split('\n');
    ASSERT_EQ(records.size(), 4);
    QStringList ports;
    for (const QByteArray &line : records)
        ports << QJsonDocument::fromJson(line).object()[QStringLiteral("port")].toString();
    ports.sort();
    QStringList expected = {a.device(), b.device(), c.device(), absent};
    expected.sort();
    EXPECT_EQ(ports, expected);

    // A camera renamed: --changed sends that unit's channel alone.
    writeFile(QStringLiteral("site.csv"), schedule("Back yard"));
    ASSERT_EQ(SimProcess::runTool({"site", "make", path("site.csv"), path("site")}).exitCode, 0);
    const auto changed = SimProcess::runTool({"site", "send", path("site.csv"), path("site"), "--units", "A,B", "--changed"});
    EXPECT_EQ(changed.exitCode, 0) << changed.err.toStdString();
    EXPECT_TRUE(changed.out.contains(QStringLiteral("A: writing channels 2\n"))) << changed.out.toStdString();
    EXPECT_TRUE(changed.out.contains(QStringLiteral("A: completed channels 2\n"))) << changed.out.toStdString();
    EXPECT_TRUE(changed.out.contains(QStringLiteral("B: nothing changed since its last complete write")))
        << changed.out.toStdString();

    // The poll, then what each unit holds, byte for byte.
    writeFile(QStringLiteral("poll.csv"), "unit,address,channel,title\nA," + a.device().toUtf8()
                                              + ",2,Back yard\nD," + absent.toUtf8() + ",1,Roof\nE,,1,Gate\n");
    const auto status = SimProcess::runTool({"site", "status", path("poll.csv"), "--json"});
    EXPECT_EQ(status.exitCode, 1);
    const QJsonArray units = QJsonDocument::fromJson(status.out.toUtf8()).array();
    ASSERT_EQ(units.size(), 3) << status.out.toStdString();
    const QJsonObject unitA = units[0].toObject();
    EXPECT_TRUE(unitA[QStringLiteral("ok")].toBool());
    EXPECT_TRUE(unitA[QStringLiteral("error")].isNull());
    const QJsonObject camera = unitA[QStringLiteral("cameras")].toArray()[0].toObject();
    EXPECT_EQ(camera[QStringLiteral("channel")].toInt(), 2);
    EXPECT_EQ(camera[QStringLiteral("title")].toString(), QStringLiteral("Back yard"));
    EXPECT_EQ(camera[QStringLiteral("video_lost")], QJsonValue(false));
    for (int i : {1, 2}) {
        const QJsonObject failed = units[i].toObject();
        EXPECT_FALSE(failed[QStringLiteral("ok")].toBool());
        EXPECT_FALSE(failed[QStringLiteral("error")].toString().isEmpty());
        EXPECT_TRUE(failed[QStringLiteral("status")].isNull());
    }
    EXPECT_TRUE(units[2].toObject()[QStringLiteral("address")].isNull());

    expectUnitHolds(a.stopAndReadState(), *readTitle(path("site/A.zvx")));
    expectUnitHolds(b.stopAndReadState(), *readTitle(path("site/B.zvx")));
}

TEST_F(OrvexSite, WritesAUnitBehindASerialServerBesideALocalOne)
{
    if (!Ser2netProcess::available())
        GTEST_SKIP() << "ser2net is not installed";
    SimProcess local, remote;
    ASSERT_TRUE(local.start());
    ASSERT_TRUE(remote.start());
    Ser2netProcess server;
    ASSERT_TRUE(server.start(Ser2netProcess::Accepter::Rfc2217, remote.device())) << server.failure().toStdString();
    writeFile(QStringLiteral("site.csv"), "unit,address,channel,title\nA," + local.device().toUtf8()
                                              + ",1,Gate\nB," + server.address().toUtf8() + ",5,Roof\n");
    ASSERT_EQ(SimProcess::runTool({"site", "make", path("site.csv"), path("site")}).exitCode, 0);
    const auto run = SimProcess::runTool({"site", "send", path("site.csv"), path("site")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    expectUnitHolds(local.stopAndReadState(), *readTitle(path("site/A.zvx")));
    expectUnitHolds(remote.stopAndReadState(), *readTitle(path("site/B.zvx")));
}
