#include "platform/QtSerialPortAdapter.h"
#include "platform/SerialErrorCounters.h"
#include "platform/SerialPortNames.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

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

TEST(QtSerialPortAdapter, PlatformErrorsMapToLineMessages)
{
    EXPECT_EQ(QtSerialPortAdapter::eventFor(QSerialPort::UnsupportedOperationError), CommEvent::ConfigUnreadable);
    EXPECT_EQ(QtSerialPortAdapter::eventFor(QSerialPort::WriteError), CommEvent::TransmitFull);
    EXPECT_EQ(QtSerialPortAdapter::eventFor(QSerialPort::ResourceError), CommEvent::Unknown);
    EXPECT_EQ(QtSerialPortAdapter::eventFor(QSerialPort::ReadError), CommEvent::Unknown);
}
