// Only the unit's own answer completes a frame: an echo, noise beside the
// replies, telnet on a raw connection or a device answering in another
// shape never makes a channel complete, and the record's hashes are those
// of the frames as the unit took them.

#include "support/LinkRig.h"
#include "link/LinkMessages.h"
#include "link/history/ChannelFrames.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using Alter = std::function<QByteArray(int, const QByteArray &, const QByteArray &)>;

QString echoText()
{
    return LinkMessages::lineFault(LineFault::Echo, 2, 0);
}
QString extraText()
{
    return LinkMessages::lineFault(LineFault::Extra, 2, 0);
}

// Every frame of the kind starting `prefix` comes back as sent.
Alter echoOf(const QByteArray &prefix)
{
    return [prefix](int, const QByteArray &frame, const QByteArray &reply) {
        return frame.startsWith(prefix) ? frame : reply;
    };
}

// A fixed pseudo-random burst in place of the reply to frames [from, to).
Alter noiseOn(int from, int to)
{
    return [from, to](int index, const QByteArray &, const QByteArray &reply) {
        if (index < from || index >= to)
            return reply;
        QByteArray noise;
        for (int i = 0; i < 5 + index % 4; ++i)
            noise += char((index * 37 + i * 101) & 0xff);
        return noise;
    };
}

struct WriteCase
{
    const char *name;
    std::function<void(LinkRig &)> arrange;
    QList<int> completed; // channels of 1, 2 the record holds whole
    QString warning;      // the one warning, empty for none
};

} // namespace

TEST(ReplyRule, OnlyCleanAnswersCompleteAChannel)
{
    const WriteCase cases[] = {
        {"clean peer", [](LinkRig &) {}, {1, 2}, {}},
        {"echo of a text command", [](LinkRig &r) { r.device.alter = echoOf("CS"); }, {}, echoText()},
        {"echo of a screen row", [](LinkRig &r) { r.device.alter = echoOf("@WD"); }, {}, echoText()},
        {"echo of a character", [](LinkRig &r) { r.device.alter = echoOf("@WC"); }, {}, echoText()},
        {"echo of the last frame", [](LinkRig &r) { r.device.alter = echoOf("PS1"); }, {}, echoText()},
        {"echo byte by byte",
         [](LinkRig &r) {
             r.device.alter = echoOf("");
             r.device.oneBytePerEvent = true;
         },
         {},
         echoText()},
        {"extra bytes in the same read",
         [](LinkRig &r) {
             r.device.alter = [](int i, const QByteArray &, const QByteArray &reply) {
                 return i == 20 ? reply + "\x0d" : reply;
             };
         },
         {1, 2},
         {}},
        {"extra bytes in a later read",
         [](LinkRig &r) {
             r.device.alter = [&r](int i, const QByteArray &, const QByteArray &reply) {
                 if (i == 30)
                     r.clock.schedule(r.device.latency + 1, [&r] { r.port.receive("\x0d"); });
                 return reply;
             };
         },
         {1, 2},
         {}},
        {"extra bytes after a channel's last answer",
         [](LinkRig &r) {
             r.device.alter = [&r](int i, const QByteArray &, const QByteArray &reply) {
                 if (i == ChannelFrames::PerChannel - 1)
                     r.clock.schedule(r.device.latency + 1, [&r] { r.port.receive("\x0d\x0d"); });
                 return reply;
             };
         },
         {1, 2},
         {}},
        {"a noise burst mid-write", [](LinkRig &r) { r.device.alter = noiseOn(10, 13); }, {1, 2}, {}},
        {"noise on every frame", [](LinkRig &r) { r.device.alter = noiseOn(0, 100000); }, {}, extraText()},
        {"3 bytes to a 2-byte command",
         [](LinkRig &r) {
             r.device.alter = [](int, const QByteArray &, const QByteArray &reply) { return reply + "\x0d"; };
         },
         {},
         LinkMessages::lineFault(LineFault::Shape, 2, 3)},
    };
    for (const WriteCase &c : cases) {
        SCOPED_TRACE(c.name);
        LinkRig rig;
        rig.selectChannels({1, 2});
        c.arrange(rig);
        rig.engine->KakikomiOn();
        rig.runUntilEnded(600000);
        ASSERT_EQ(rig.view.writes.size(), 1);
        const TransferRecord &record = rig.view.writes.first();
        EXPECT_EQ(record.completedChannels(), c.completed);
        EXPECT_EQ(record.outcome, c.warning.isEmpty() ? WriteOutcome::Done : WriteOutcome::LineFault);
        EXPECT_EQ(rig.view.warnings, c.warning.isEmpty() ? QStringList{} : QStringList{c.warning});
        for (int ch : c.completed)
            EXPECT_EQ(record.sha256[size_t(ch - 1)], ChannelFrames::sha256(rig.data, ch - 1)) << ch;
        EXPECT_EQ(rig.view.unloads, c.completed.isEmpty() ? 1 : 0);
    }
}

TEST(ReplyRule, ACleanFastPeerIsAnsweredWithoutWaiting)
{
    LinkRig rig;
    rig.device.latency = 1;
    rig.selectChannels({1, 2, 3, 4, 5, 6, 7, 8});
    rig.engine->KakikomiOn();
    const long long start = rig.clock.now();
    rig.runUntilEnded(600000);
    // Each frame leaves the moment the one before it is answered.
    EXPECT_LE(rig.clock.now() - start, 8 * ChannelFrames::PerChannel * rig.device.latency + 1);
    EXPECT_EQ(rig.port.written.size(), 8 * ChannelFrames::PerChannel);
    EXPECT_EQ(rig.view.writes.first().resent, 0);
    EXPECT_TRUE(rig.view.notes.isEmpty());
}

TEST(ReplyRule, AnUncleanPollShowsNothingKnownAndSaysSoOnce)
{
    LinkRig rig;
    rig.device.alter = echoOf("VL");
    rig.engine->startPolling();
    rig.runUntilEnded();
    rig.runUntilEnded();
    EXPECT_EQ(rig.view.unknowns, 2);
    EXPECT_EQ(rig.view.warnings, QStringList{echoText()});
    EXPECT_EQ(rig.view.unloads, 0) << "a poll on a bad line keeps the window";

    // Clean again, and then bad again: said again.
    rig.device.alter = nullptr;
    rig.runUntilEnded();
    EXPECT_EQ(rig.view.unknowns, 2);
    rig.device.alter = noiseOn(0, 100000);
    rig.runUntilEnded();
    EXPECT_EQ(rig.view.warnings, (QStringList{echoText(), extraText()}));
}

TEST(ReplyRule, TelnetOnARawConnectionIsNoAnswer)
{
    LinkRig rig;
    rig.port.network = true;
    rig.engine->setPortAddress(QStringLiteral("tcp://10.0.0.5:4001"));
    rig.selectChannels({1});
    // A telnet storm from frame 10 on: IAC DO, as two bytes a 2-byte reply
    // would count as.
    rig.device.alter = [&rig](int i, const QByteArray &, const QByteArray &reply) {
        if (i < 10)
            return reply;
        rig.port.raise(CommEvent::ForeignData);
        return QByteArray("\xff\xfd");
    };
    rig.engine->KakikomiOn();
    rig.runUntilEnded(600000);
    ASSERT_EQ(rig.view.writes.size(), 1);
    EXPECT_TRUE(rig.view.writes.first().completedChannels().isEmpty());
    EXPECT_EQ(rig.view.warnings, QStringList{LinkMessages::lineFault(LineFault::Telnet, 2, 2)});
}
