// The whole link over a real pseudo-terminal: the orvex tool against
// orvex-sim.

#include "SimLinkFixture.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QJsonArray>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

TEST_F(SimLink, SendWritesTheChosenChannelsByteForByte)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start());
    const auto run = SimProcess::runTool({"send", file, "--port", sim.device(), "--channels", "3,8"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("チャンネル3画面データ送信中です…暫くお待ち下さい。")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("チャンネル8文字データ送信中です…暫くお待ち下さい。")));
    EXPECT_TRUE(run.out.trimmed().endsWith(QStringLiteral("データ送信終了しました。\ncompleted channels: 3,8")))
        << run.out.toStdString();
    EXPECT_TRUE(QFile::exists(sim.folder() + QStringLiteral("/shots/ch3.png")));
    EXPECT_TRUE(QFile::exists(sim.folder() + QStringLiteral("/shots/ch8.png")));

    const QJsonObject state = sim.stopAndReadState();
    ASSERT_FALSE(state.isEmpty());
    expectChannelWritten(state, 2);
    expectChannelWritten(state, 7);
    for (int ch : {0, 1, 3, 4, 5, 6})
        EXPECT_EQ(dataFrames(state, ch), 0) << "channel " << ch + 1;
    EXPECT_EQ(state[QStringLiteral("frames")].toInt(), 86);
}

TEST_F(SimLink, SendTellsWhatOpeningTheFileChanged)
{
    // A block text with a line break, as another tool may write it: the
    // title is read as any other command reads it, and the operator is told.
    QFile raw(file);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    QByteArray bytes = raw.readAll();
    raw.close();
    const qsizetype block1 = bytes.indexOf("\r\n", bytes.indexOf("\r\n") + 2) + 2;
    const qsizetype block2 = bytes.indexOf("\r\n", block1) + 2;
    bytes.insert(block2, "\"two\r\nlines\"");
    ASSERT_TRUE(raw.open(QIODevice::WriteOnly | QIODevice::Truncate));
    raw.write(bytes);
    raw.close();

    SimProcess sim;
    ASSERT_TRUE(sim.start());
    const auto run = SimProcess::runTool({"send", file, "--port", sim.device(), "--channels", "1"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err.count(QStringLiteral("ブロック")), 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("ブロック 2 "))) << run.err.toStdString();
    expectChannelWritten(sim.stopAndReadState(), 0);
}

TEST_F(SimLink, LostRepliesAreResent)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--drop", "10"})); // four of the 47 replies are lost
    const auto run = SimProcess::runTool({"send", file, "--port", sim.device(), "--channels", "2"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject state = sim.stopAndReadState();
    expectChannelWritten(state, 1);
    EXPECT_EQ(state[QStringLiteral("frames")].toInt(), 47);
}

TEST_F(SimLink, SplitAndDelayedRepliesWork)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--split", "--delay", "100"}));
    const auto run = SimProcess::runTool({"send", file, "--port", sim.device(), "--channels", "1"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject state = sim.stopAndReadState();
    expectChannelWritten(state, 0);
    EXPECT_EQ(state[QStringLiteral("frames")].toInt(), 43);
}

TEST_F(SimLink, SilentDeviceEndsInTheTimeOutMessage)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--silent"}));
    const auto run = SimProcess::runTool({"send", file, "--port", sim.device(), "--channels", "5"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("通信がタイムアウトしました。"))) << run.err.toStdString();
    EXPECT_GE(run.ms, 2500); // five time-outs of 500 ms
    EXPECT_EQ(sim.stopAndReadState()[QStringLiteral("frames")].toInt(), 5);
}

TEST_F(SimLink, StatusReportsTheDevice)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--video-loss", "0x5a"}));
    const auto run = SimProcess::runTool({"status", "--port", sim.device(), "--json"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.trimmed(), QStringLiteral("{\"channel\": 1, \"hpos\": 0, \"vpos\": 0, \"black\": \"0%\", "
                                                "\"white\": \"100%\", \"video_loss\": [2, 4, 5, 7]}"));
    const auto text = SimProcess::runTool({"status", "--port", sim.device()});
    EXPECT_TRUE(text.out.contains(QStringLiteral("video loss:          2, 4, 5, 7"))) << text.out.toStdString();
}

TEST_F(SimLink, FailuresEndWithTheirMessages)
{
    auto run = SimProcess::runTool({"send", file, "--port", dir.filePath("no-such-port")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("通信ポートを開けません。"))) << run.err.toStdString();

    data.DispData(0, 0, 3) = 1; // channel 4's page holds a character of channel 1
    ASSERT_TRUE(ZvxWriter::writeFile(file, data).ok);
    run = SimProcess::runTool({"send", file, "--port", dir.filePath("no-such-port"), "--channels", "4"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("チャンネル4"))) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QStringLiteral("通信ポートを開けません。")));
}

namespace {

// The host's end of the simulator's line, raw, as a serial port is.
class RawLine
{
public:
    explicit RawLine(const QString &device) : m_fd(::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY))
    {
        termios mode{};
        if (m_fd >= 0 && tcgetattr(m_fd, &mode) == 0) {
            cfmakeraw(&mode);
            tcsetattr(m_fd, TCSANOW, &mode);
        }
    }
    ~RawLine()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isOpen() const { return m_fd >= 0; }
    void write(const QByteArray &bytes) { EXPECT_EQ(::write(m_fd, bytes.constData(), size_t(bytes.size())), bytes.size()); }
    // Exactly `count` bytes, or fewer when none come for 10 s.
    QByteArray read(int count)
    {
        QByteArray got;
        while (got.size() < count) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, 10000) <= 0)
                break;
            char buffer[64];
            const ssize_t n = ::read(m_fd, buffer, size_t(std::min<qsizetype>(count - got.size(), 64)));
            if (n <= 0)
                break;
            got.append(buffer, n);
        }
        return got;
    }

private:
    int m_fd;
};

} // namespace

TEST(SimLinkStrict, FramesTheDeviceWouldRefuseGetNoAnswerAndAreLogged)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start());
    RawLine line(sim.device());
    ASSERT_TRUE(line.isOpen());

    // Each bad frame is followed by a query whose answer differs from an
    // acknowledgement, so an answer to the bad frame would show first.
    const QByteArray badFrames[] = {
        "@WC,P0a," + QByteArray(54, '\x55') + '\r', // lower-case slot
        "@WC,P01," + QByteArray(54, '\x55') + 'X',  // block not ended by CR
        "CS9\r",
    };
    for (const QByteArray &bad : badFrames) {
        line.write(bad + "CS?\r");
        EXPECT_EQ(line.read(2), QByteArray::fromHex("010d")) << bad.left(8).constData();
    }
    const QString log = sim.stopAndReadLog();
    EXPECT_EQ(log.count(QStringLiteral("ignored frame")), 3) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("@WC,P0a,"))) << log.toStdString();
}
