// The engine on the real network port and Qt timers against a device
// server in this process: what the operator sees when the path dies in the
// middle of a write and the server then refuses the new connection, and a
// path slower than the local reply time-out.

#include "core/TitleData.h"
#include "link/LinkEngine.h"
#include "platform/NetworkSerialPort.h"
#include "platform/QtEventPump.h"
#include "platform/QtLinkTimer.h"
#include "support/FakeLinkView.h"
#include "support/QtPrinters.h"
#include "support/WaitFor.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace {

// A serial device server with the title generator behind it, answering
// each whole frame after `delayMs`. After `silentAfter` answered frames
// the path goes dead with the connection open, and the server, still
// holding that connection, refuses every new one as ser2net does.
class LoopbackDevice
{
public:
    LoopbackDevice()
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *client = m_server.nextPendingConnection())
                accept(client);
        });
        m_server.listen(QHostAddress::LocalHost);
    }
    QString address() const { return QStringLiteral("tcp://127.0.0.1:%1").arg(m_server.serverPort()); }

    int delayMs = 0;
    int silentAfter = INT_MAX;
    int connections = 0;
    int framesHeard = 0;

private:
    void accept(QTcpSocket *client)
    {
        ++connections;
        if (m_busy) {
            client->write("Port already in use\r\n");
            client->disconnectFromHost();
            return;
        }
        auto pending = std::make_shared<QByteArray>();
        QObject::connect(client, &QTcpSocket::readyRead, client, [this, client, pending] {
            *pending += client->readAll();
            while (const qsizetype length = frameLength(*pending)) {
                const QByteArray frame = pending->left(length);
                pending->remove(0, length);
                ++framesHeard;
                if (framesHeard > silentAfter) {
                    m_busy = true;
                    continue;
                }
                QTimer::singleShot(delayMs, Qt::PreciseTimer, client, [client, frame] { client->write(reply(frame)); });
            }
        });
    }
    // Screen rows and characters carry raw bytes, CR included.
    static qsizetype frameLength(const QByteArray &bytes)
    {
        const qsizetype fixed = bytes.startsWith("@WD") ? 43 : bytes.startsWith("@WC") ? 63 : 0;
        if (fixed)
            return bytes.size() >= fixed ? fixed : 0;
        return bytes.indexOf('\r') + 1;
    }
    static QByteArray reply(const QByteArray &frame)
    {
        if (frame == "CS?\r")
            return QByteArray::fromHex("030d");
        if (frame == "HP?\r" || frame == "VP?\r" || frame == "BS01,?\r" || frame == "VL\r")
            return QByteArray::fromHex("01000d");
        return QByteArray::fromHex("060d");
    }

    QTcpServer m_server;
    bool m_busy = false;
};

struct Window
{
    explicit Window(const QString &address)
    {
        data.setDefaults();
        engine = std::make_unique<LinkEngine>(data, port, chReqTimer, rxTimer, pump, view);
        engine->setPortAddress(address);
    }
    bool waitForEnd(int endedBefore)
    {
        return waitFor([&] { return view.ended.size() > endedBefore || view.unloads > 0; }, 20000);
    }

    TitleData data;
    NetworkSerialPort port;
    QtLinkTimer chReqTimer;
    QtLinkTimer rxTimer;
    QtEventPump pump;
    FakeLinkView view;
    std::unique_ptr<LinkEngine> engine;
};

} // namespace

TEST(NetworkLinkEndToEnd, APathDeadInChannelTwoAndABusyServerEndTheWriteNamingIt)
{
    LoopbackDevice device;
    device.silentAfter = 43 + 7; // channel 1 and seven frames of channel 2
    Window window(device.address());
    window.data.KakikomiCh.fill(false);
    for (int ch : {0, 1, 2})
        window.data.KakikomiCh[ch] = true;
    window.engine->KakikomiOn();
    ASSERT_TRUE(window.waitForEnd(0));

    ASSERT_EQ(window.view.warnings.size(), 1);
    const QString warning = window.view.warnings.first();
    EXPECT_TRUE(warning.contains(device.address() + QStringLiteral(" はまだ前の接続を保っています（Port already in use）")))
        << qPrintable(warning);
    ASSERT_EQ(window.view.writes.size(), 1);
    EXPECT_EQ(window.view.writes.first().completedChannels(), QList<int>{1});
    EXPECT_EQ(window.view.writes.first().unfinishedChannels(), (QList<int>{2, 3}));
    EXPECT_EQ(window.view.writes.first().outcome, WriteOutcome::PortFailed);
    EXPECT_FALSE(window.view.messages.contains(QStringLiteral("データ送信終了しました。")));
    EXPECT_EQ(device.connections, 2);
}

TEST(NetworkLinkEndToEnd, PollsShareOneConnectionAndASlowPathIsWaitedFor)
{
    LoopbackDevice device;
    Window window(device.address());
    for (int i = 0; i < 2; ++i) {
        const auto before = window.view.ended.size();
        window.engine->handlePollTick();
        ASSERT_TRUE(window.waitForEnd(int(before)));
    }
    // Slower than the local 500 ms: resent once, then measured.
    device.delayMs = 600;
    for (int ch : {4, 5}) {
        const auto before = window.view.ended.size();
        window.engine->selectChannel(ch);
        ASSERT_TRUE(window.waitForEnd(int(before)));
    }
    EXPECT_TRUE(window.view.warnings.isEmpty()) << qPrintable(window.view.warnings.value(0));
    EXPECT_EQ(window.view.ended, (QList<int>{30, 30, 14, 14}));
    EXPECT_EQ(device.connections, 1);
    EXPECT_EQ(device.framesHeard, 5 + 5 + 2 + 1);
    EXPECT_GT(window.port.roundTrip(), 50) << "the 600 ms reply was measured";
}
