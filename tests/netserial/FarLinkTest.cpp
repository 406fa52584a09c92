// The far computer's engine driven through the protocol, in virtual time:
// the near link, its view and the far side beside a scripted unit.

#include "netserial/FarWords.h"
#include "netserial/FarWrites.h"
#include "netserial/RemoteLink.h"

#include "link/history/ChangedChannels.h"
#include "link/history/ChannelFrames.h"
#include "support/FakeFarChannel.h"
#include "support/FakeLinkView.h"

#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString Address = QStringLiteral("ssh://pi@site3/dev/ttyUSB0");

struct FarRig
{
    FarRig()
    {
        data.setDefaults();
        data.DotData[26].fill(PixelCode::white());
        data.DispData(0, 0, 1) = 26;
        connect();
    }
    void connect()
    {
        auto made = std::make_unique<FakeFarChannel>(far);
        channel = made.get();
        link.reset();
        view = std::make_unique<FakeLinkView>();
        link = std::make_unique<RemoteLink>(data, std::move(made), Address, *view);
    }
    void write(std::initializer_list<int> channels)
    {
        data.KakikomiCh.fill(false);
        for (int ch : channels)
            data.KakikomiCh[size_t(ch - 1)] = true;
        link->KakikomiOn();
    }
    void runUntil(const std::function<bool()> &done, long long limit = 120000)
    {
        for (long long t = 0; t < limit && !done(); t += 5)
            far.platform.clock.advance(5);
    }
    void runUntilEnded(Request request)
    {
        runUntil([&] { return view->ended.contains(int(request)) || view->unloads > 0; });
    }
    // Frames the far unit got, from the first of channel `from` on.
    QByteArrayList farFrames() const { return far.platform.port->written; }

    FarComputer far;
    TitleData data;
    FakeFarChannel *channel = nullptr;
    std::unique_ptr<FakeLinkView> view;
    std::unique_ptr<RemoteLink> link;
};

bool containsRun(const QByteArrayList &frames, const QByteArrayList &run)
{
    for (qsizetype i = 0; i + run.size() <= frames.size(); ++i)
        if (frames.mid(i, run.size()) == run)
            return true;
    return false;
}

} // namespace

TEST(FarLink, AWriteRunsBesideTheUnitAndItsRecordIsTheFarEngines)
{
    FarRig rig;
    rig.far.latency = 300;
    rig.write({2, 5});
    EXPECT_FALSE(rig.link->isIdle());
    rig.runUntilEnded(Request::BulkWrite);

    ASSERT_EQ(rig.view->writes.size(), 1);
    const TransferRecord &record = rig.view->writes.first();
    EXPECT_EQ(record.outcome, WriteOutcome::Done);
    EXPECT_EQ(record.port, Address);
    EXPECT_EQ(record.completedChannels(), (QList<int>{2, 5}));
    for (int ch : {2, 5}) {
        EXPECT_EQ(record.sha256[size_t(ch - 1)], ChannelFrames::sha256(rig.data, ch - 1)) << ch;
        EXPECT_TRUE(containsRun(rig.farFrames(), ChannelFrames::build(rig.data, ch - 1))) << ch;
    }
    EXPECT_TRUE(rig.link->isIdle());
    EXPECT_EQ(rig.link->lastBulkWrite()->id, record.id);
    // The far computer logged it under its own port and the same id.
    ASSERT_EQ(rig.far.log.size(), 1);
    EXPECT_EQ(rig.far.log.first().port, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(rig.far.log.first().id, record.id);
    // Progress crossed over as the far engine showed it.
    EXPECT_TRUE(rig.view->messages.contains(QStringLiteral("チャンネル5文字データ送信中です…暫くお待ち下さい。")));
    EXPECT_EQ(rig.view->meters.size(), 2 * ChannelFrames::PerChannel);
    // The whole write crossed the path once: a handful of lines went out.
    EXPECT_EQ(rig.channel->sent.count('\n'), 1);
}

TEST(FarLink, APollShowsWhatTheFarUnitReported)
{
    FarRig rig;
    rig.link->SerDataSet(Request::StatusPoll);
    rig.runUntilEnded(Request::StatusPoll);
    EXPECT_TRUE(rig.view->lit[2]);
    EXPECT_EQ(std::count(rig.view->lit.begin(), rig.view->lit.end(), true), 1);
    EXPECT_EQ(rig.view->hpos, 8);
    EXPECT_EQ(rig.view->vpos, 0);
    EXPECT_EQ(rig.view->black, 1);
    EXPECT_EQ(rig.view->white, 2);
    EXPECT_EQ(rig.view->videoLoss, (std::array<bool, 8>{false, true, false, true, true, false, true, false}));
    EXPECT_TRUE(rig.view->garbled.isEmpty());
}

TEST(FarLink, TheWindowsOperationsReachTheFarUnit)
{
    FarRig rig;
    const struct
    {
        std::function<void(RemoteLink &)> operate;
        QByteArray frame;
    } cases[] = {
        {[](RemoteLink &l) { l.selectChannel(4); }, "CS5\r"},
        {[](RemoteLink &l) { l.moveOverlay(OverlayDirection::Down); }, "VP+\r"},
        {[](RemoteLink &l) { l.moveOverlay(OverlayDirection::Left); }, "HP-\r"},
        {[](RemoteLink &l) { l.setLevels(3, 2); }, "BS01,32\r"},
    };
    for (const auto &c : cases) {
        const qsizetype before = rig.far.platform.port ? rig.far.platform.port->written.size() : 0;
        rig.view->ended.clear();
        c.operate(*rig.link);
        rig.runUntil([&] { return !rig.view->ended.isEmpty(); });
        const QByteArrayList sent = rig.farFrames().mid(before);
        ASSERT_FALSE(sent.isEmpty()) << c.frame.constData();
        EXPECT_TRUE(sent.first().startsWith(c.frame.left(c.frame.size() - 1)))
            << sent.first().constData() << " for " << c.frame.constData();
    }
    // Levels a poll reports are shown, not sent back, though the window's
    // lists report every change they are given.
    struct EchoingView : FakeLinkView
    {
        void setBlackLevel(int index) override
        {
            FakeLinkView::setBlackLevel(index);
            link->setLevels(index, white < 0 ? 0 : white);
        }
        DeviceLink *link = nullptr;
    } echoing;
    RemoteLink link(rig.data, std::make_unique<FakeFarChannel>(rig.far), Address, echoing);
    echoing.link = &link;
    link.SerDataSet(Request::StatusPoll);
    rig.runUntil([&] { return echoing.ended.contains(int(Request::StatusPoll)); });
    EXPECT_EQ(echoing.black, 1);
    EXPECT_FALSE(rig.farFrames().contains("BS01,12\r"));
}

TEST(FarLink, ASessionCutMidWriteClaimsNothingAndTheFarLogSettlesIt)
{
    FarRig rig;
    rig.write({1, 2, 3});
    // Cut once channel 2's characters are going out.
    rig.runUntil([&] { return rig.view->messages.contains(QStringLiteral("チャンネル2文字データ送信中です…暫くお待ち下さい。")); });
    rig.channel->cut();

    EXPECT_EQ(rig.view->warnings, QStringList{FarWords::lostDuringWrite()});
    EXPECT_EQ(rig.view->unloads, 1);
    ASSERT_EQ(rig.view->writes.size(), 1);
    const TransferRecord broken = rig.view->writes.first();
    EXPECT_TRUE(broken.completedChannels().isEmpty());
    EXPECT_EQ(broken.askedChannels(), (QList<int>{1, 2, 3}));
    EXPECT_FALSE(broken.id.isEmpty());
    EXPECT_EQ(rig.view->warningsBeforeReport, QList<qsizetype>{0});

    // The far side saw its input end: it abandoned the write and logged
    // what it completed.
    ASSERT_EQ(rig.far.log.size(), 1);
    EXPECT_EQ(rig.far.log.first().completedChannels(), QList<int>{1});

    // The next command asks for it by id and settles the local log.
    TransferRecord local = broken;
    local.program = QStringLiteral("orvex");
    local.time = QDateTime::currentDateTime();
    QList<TransferRecord> records{local};
    ASSERT_TRUE(FarWrites::unsettled(records, Address));
    rig.connect();
    std::optional<TransferRecord> found;
    bool answered = false;
    rig.link->recallWrite(broken.id, [&](const std::optional<TransferRecord> &r) {
        answered = true;
        found = r;
    });
    rig.runUntil([&] { return answered; });
    ASSERT_TRUE(found);
    EXPECT_EQ(found->port, Address);
    EXPECT_EQ(found->completedChannels(), QList<int>{1});

    QTemporaryDir dir;
    const TransferLog log(dir.filePath(QStringLiteral("transfers.log")));
    log.append(local);
    FarWrites::settle(log, broken, found);
    records = log.read().records;
    EXPECT_FALSE(FarWrites::unsettled(records, Address));
    rig.data.KakikomiCh.fill(true);
    EXPECT_EQ(ChangedChannels::toSend(ChangedChannels::compare(rig.data, records, Address)),
              (QList<int>{2, 3, 4, 5, 6, 7, 8}));
}

TEST(FarLink, AFarSideThatCannotBeUsedSaysWhyOnce)
{
    const struct
    {
        const char *name;
        int exit;
        QByteArray instead;
        QString said;
        QString expected;
    } cases[] = {
        {"refused key", 255, {}, QStringLiteral("Permission denied (publickey)."),
         FarWords::startFailed(QStringLiteral("site3"), 255, QStringLiteral("Permission denied (publickey)."))},
        {"no orvex there", 127, {}, QStringLiteral("sh: 1: orvex: not found"),
         FarWords::startFailed(QStringLiteral("site3"), 127, QStringLiteral("sh: 1: orvex: not found"))},
        {"a newer far side", 3, FarProtocol::answer(QStringLiteral("x")).replace("\"answer\":\"x\"", "\"protocol\":\"orvex-far\",\"version\":9"), {},
         FarWords::wrongVersion(9, FarProtocol::Version)},
        {"a banner, then the end", 1, "Welcome to site3\n", {}, FarWords::startFailed(QStringLiteral("site3"), 1, QStringLiteral("Welcome to site3"))},
    };
    for (const auto &c : cases) {
        FarRig rig;
        rig.far.startExit = c.exit;
        rig.far.startSaid = c.said;
        rig.far.instead = c.instead;
        rig.link->SerDataSet(Request::StatusPoll);
        rig.runUntil([&] { return rig.view->unloads > 0; }, 2000);
        EXPECT_EQ(rig.view->warnings, QStringList{c.expected}) << c.name;
        EXPECT_EQ(rig.view->unloads, 1) << c.name;
    }
}

TEST(FarLink, AFarSideThatNeverSaysHelloIsGivenUpInTime)
{
    FarComputer far;
    far.mute = true;
    TitleData data;
    data.setDefaults();
    FakeLinkView view;
    const std::unique_ptr<LinkTimer> timer = far.platform.createTimer();
    RemoteLink link(data, std::make_unique<FakeFarChannel>(far), Address, view, timer.get());
    link.SerDataSet(Request::StatusPoll);
    far.platform.clock.advance(RemoteLink::HelloTimeout - 1);
    EXPECT_EQ(view.unloads, 0);
    far.platform.clock.advance(2);
    EXPECT_EQ(view.warnings, QStringList{FarWords::noHello(QStringLiteral("site3"))});
    EXPECT_EQ(view.unloads, 1);
}

TEST(FarLink, GarbageFromTheFarSideEndsTheSession)
{
    FarRig rig;
    rig.link->SerDataSet(Request::StatusPoll);
    rig.runUntilEnded(Request::StatusPoll);
    rig.channel->inject("\x01\x02garbage\n");
    EXPECT_EQ(rig.view->warnings, QStringList{FarWords::notUnderstood(QStringLiteral("\x01\x02garbage"))});
    EXPECT_EQ(rig.view->unloads, 1);
}

TEST(FarServer, RefusesWhatIsNoRequestAndStopsAtOneTooLarge)
{
    FarComputer far;
    QList<QJsonObject> answers;
    FarServer server(
        far.platform, QStringLiteral("/dev/ttyS0"),
        [&](const QByteArray &line) { answers << QJsonDocument::fromJson(line).object(); },
        [](const TransferRecord &r) { return r; }, [](const QString &) { return std::nullopt; });
    server.start();
    ASSERT_EQ(answers.size(), 1);
    const struct
    {
        QByteArray line;
        const char *why;
    } cases[] = {
        {"nonsense\n", "not a request"},
        {"{\"op\":\"fly\"}\n", "unknown request"},
        {"{\"op\":\"select\",\"channel\":9}\n", "no channel"},
        {"{\"op\":\"write\",\"id\":\"a\",\"channels\":[1]}\n", "a write without a whole title"},
        {"{\"op\":\"levels\",\"black\":4,\"white\":0}\n", "levels are"},
    };
    for (const auto &c : cases) {
        answers.clear();
        server.receive(c.line);
        ASSERT_EQ(answers.size(), 1) << c.line.constData();
        EXPECT_EQ(answers.first().value(QStringLiteral("answer")).toString(), QStringLiteral("refused"));
        EXPECT_TRUE(answers.first().value(QStringLiteral("why")).toString().startsWith(QLatin1String(c.why)))
            << c.line.constData();
        EXPECT_FALSE(server.finished());
    }
    answers.clear();
    server.receive(QByteArray(FarProtocol::MaxLine + 1, '{'));
    EXPECT_TRUE(server.finished());
    ASSERT_FALSE(answers.isEmpty());
    EXPECT_EQ(answers.first().value(QStringLiteral("answer")).toString(), QStringLiteral("refused"));
    // Nothing more is taken.
    answers.clear();
    server.receive("{\"op\":\"poll\"}\n");
    EXPECT_TRUE(answers.isEmpty());
}
