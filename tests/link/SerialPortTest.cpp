#include "link/LinkMessages.h"
#include "platform/QtSerialPortAdapter.h"
#include "platform/SerialErrorCounters.h"
#include "netserial/SerialPortNames.h"
#include "support/QtPrinters.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <functional>

TEST(SerialPortNames, EnvironmentNamesTheDeviceOfAPort)
{
    qputenv("ORVEX_COM3", "/dev/ttyUSB0");
    qunsetenv("ORVEX_COM4");
    EXPECT_EQ(SerialPortNames::deviceForPort(3), "/dev/ttyUSB0");
    EXPECT_EQ(SerialPortNames::deviceForPort(4), "/dev/ttyS3");
    EXPECT_EQ(SerialPortNames::deviceForArgument("3"), "/dev/ttyUSB0");
    EXPECT_EQ(SerialPortNames::deviceForArgument("/tmp/orvex1"), "/tmp/orvex1");
    EXPECT_TRUE(SerialPortNames::deviceForArgument("9").isEmpty());
    qunsetenv("ORVEX_COM3");
}

TEST(SerialErrorCounters, EachCountedKindIsReportedOnce)
{
    SerialErrorCounters::Counts before, after;
    after.frame = 3;
    after.parity = 1;
    after.brk = 1;
    EXPECT_EQ(SerialErrorCounters::difference(before, after),
              (QList<CommEvent>{CommEvent::Break, CommEvent::Framing, CommEvent::ReceiveParity}));
    EXPECT_TRUE(SerialErrorCounters::difference(after, after).isEmpty());
    before = after;
    after.overrun = 2;
    after.bufferOverrun = 1;
    EXPECT_EQ(SerialErrorCounters::difference(before, after),
              (QList<CommEvent>{CommEvent::Overrun, CommEvent::ReceiveOverflow}));
}

TEST(QtSerialPortAdapter, MissingDeviceFailsToOpenWithAReason)
{
    QtSerialPortAdapter port;
    int events = 0;
    port.setEventHandler([&](CommEvent) { ++events; });
    port.setDevicePath(QStringLiteral("/nonexistent/orvex-port"));
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.errorString().isEmpty());
    EXPECT_EQ(events, 0); // the failure is the open's result, not a line event
}

TEST(QtSerialPortAdapter, PlatformErrorsMapToLineMessagesOrAGoneLine)
{
    EXPECT_EQ(QtSerialPortAdapter::eventFor(QSerialPort::UnsupportedOperationError), CommEvent::ConfigUnreadable);
    EXPECT_EQ(QtSerialPortAdapter::eventFor(QSerialPort::WriteError), CommEvent::TransmitFull);
    EXPECT_EQ(QtSerialPortAdapter::eventFor(QSerialPort::UnknownError), CommEvent::Unknown);
    for (auto gone : {QSerialPort::ReadError, QSerialPort::ResourceError, QSerialPort::DeviceNotFoundError,
                      QSerialPort::NotOpenError})
        EXPECT_TRUE(QtSerialPortAdapter::meansLineGone(gone)) << gone;
    for (auto error : {QSerialPort::WriteError, QSerialPort::UnsupportedOperationError, QSerialPort::UnknownError,
                       QSerialPort::TimeoutError})
        EXPECT_FALSE(QtSerialPortAdapter::meansLineGone(error)) << error;
}

TEST(QtSerialPortAdapter, OpenFailuresSayWhatTheOperatorCanCheck)
{
    const struct
    {
        QSerialPort::SerialPortError error;
        bool exists, accessible;
        OpenFailure failure;
    } cases[] = {
        {QSerialPort::DeviceNotFoundError, false, false, OpenFailure::Missing},
        {QSerialPort::PermissionError, false, false, OpenFailure::Missing},
        {QSerialPort::PermissionError, true, false, OpenFailure::Denied},
        {QSerialPort::PermissionError, true, true, OpenFailure::Busy},
        {QSerialPort::OpenError, true, true, OpenFailure::Busy},
        {QSerialPort::UnsupportedOperationError, true, true, OpenFailure::Other},
    };
    for (const auto &c : cases)
        EXPECT_EQ(QtSerialPortAdapter::failureFor(c.error, c.exists, c.accessible), c.failure) << c.error;

    EXPECT_EQ(LinkMessages::cannotOpen("/dev/ttyUSB0", OpenFailure::Denied, "Permission denied"),
              QStringLiteral("通信ポートを開けません。\r\nシリアルポートを確認して下さい。\r\n"
                             "/dev/ttyUSB0 を開く権限がありません（Permission denied）。\r\n"
                             "ユーザーを dialout グループに加えて（sudo usermod -aG dialout $USER）、ログインし直して下さい。"));
    EXPECT_EQ(LinkMessages::cannotOpen("/dev/ttyS1", OpenFailure::Busy, "Device or resource busy"),
              QStringLiteral("通信ポートを開けません。\r\nシリアルポートを確認して下さい。\r\n"
                             "/dev/ttyS1 は他のプログラムが使っています（Device or resource busy）。"));
    // The system's reason in the same words is not said twice.
    EXPECT_EQ(LinkMessages::cannotOpen("tcp://rack:4001", OpenFailure::Refused, "接続を拒否されました", true),
              QStringLiteral("通信ポートを開けません。\r\nネットワークと接続先を確認して下さい。\r\n"
                             "tcp://rack:4001 に接続を拒否されました。"));
}

namespace {

// The device end of a pseudo-terminal, standing in for a title generator
// that can be switched off.
class PtyMaster
{
public:
    PtyMaster()
    {
        m_fd = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_fd >= 0 && ::grantpt(m_fd) == 0 && ::unlockpt(m_fd) == 0)
            m_device = QString::fromLocal8Bit(::ptsname(m_fd));
    }
    ~PtyMaster() { hangUp(); }
    QString device() const { return m_device; }
    void send(const QByteArray &bytes) { (void)!::write(m_fd, bytes.constData(), size_t(bytes.size())); }
    void hangUp()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
    QString m_device;
};

bool runEventsUntil(const std::function<bool()> &done)
{
    QDeadlineTimer deadline(10000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

} // namespace

TEST(QtSerialPortAdapter, AHungUpLineClosesThePortWithoutAFloodOfErrors)
{
    PtyMaster device;
    ASSERT_FALSE(device.device().isEmpty());
    QtSerialPortAdapter port;
    QList<CommEvent> events;
    QByteArray received;
    port.setEventHandler([&](CommEvent event) {
        events << event;
        if (event == CommEvent::DataReceived)
            received += port.readAll();
    });
    port.setDevicePath(device.device());
    ASSERT_TRUE(port.open()) << qPrintable(port.errorString());

    device.send("\x06\r");
    ASSERT_TRUE(runEventsUntil([&] { return received.size() == 2; }));
    events.clear();

    device.hangUp();
    ASSERT_TRUE(runEventsUntil([&] { return !port.isOpen(); })) << "closed at the first failed read";
    QCoreApplication::processEvents();
    EXPECT_TRUE(events.isEmpty()) << "a gone line is no line error";

    // The device is gone; the next open says so.
    EXPECT_FALSE(port.open());
    EXPECT_EQ(port.openFailure(), OpenFailure::Missing);
    EXPECT_FALSE(port.errorString().isEmpty());
    EXPECT_TRUE(events.isEmpty());
}

TEST(QtSerialPortAdapter, APortHeldByAnotherIsBusy)
{
    PtyMaster device;
    QtSerialPortAdapter first, second;
    first.setDevicePath(device.device());
    second.setDevicePath(device.device());
    ASSERT_TRUE(first.open()) << qPrintable(first.errorString());
    EXPECT_FALSE(second.open());
    EXPECT_EQ(second.openFailure(), OpenFailure::Busy) << qPrintable(second.errorString());
}

TEST(QtSerialPortAdapter, DiscardedInputIsNeverRead)
{
    PtyMaster device;
    QtSerialPortAdapter port;
    int chunks = 0;
    port.setEventHandler([&](CommEvent event) { chunks += event == CommEvent::DataReceived; });
    port.setDevicePath(device.device());
    ASSERT_TRUE(port.open());
    device.send("late");
    ASSERT_TRUE(runEventsUntil([&] { return chunks > 0; }));
    port.discardInput();
    EXPECT_TRUE(port.readAll().isEmpty());
}
