// The engine's port picks the transport its address names at each open.

#include "support/FakeSerialPort.h"
#include "platform/AddressedSerialPort.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

struct Rig
{
    Rig()
        : port([this](PortAddress::Kind kind) {
              auto transport = std::make_unique<FakeSerialPort>();
              made << kind;
              last = transport.get();
              return transport;
          })
    {
        port.setEventHandler([this](CommEvent e) { events << e; });
    }
    QList<PortAddress::Kind> made;
    FakeSerialPort *last = nullptr;
    QList<CommEvent> events;
    AddressedSerialPort port;
};

} // namespace

TEST(AddressedSerialPort, OpensTheTransportItsAddressNamesAndKeepsItWhileTheKindStays)
{
    Rig rig;
    LineSettings settings;
    settings.baud = 9600;
    rig.port.configure(settings);

    rig.port.setDevicePath(QStringLiteral("tcp://127.0.0.1:2000"));
    ASSERT_TRUE(rig.port.open());
    EXPECT_EQ(rig.last->devicePath(), QStringLiteral("tcp://127.0.0.1:2000"));
    rig.port.write("CS?\r");
    EXPECT_EQ(rig.last->written, QByteArrayList{"CS?\r"});
    rig.last->receive("\x01\x0d");
    EXPECT_EQ(rig.events, QList<CommEvent>{CommEvent::DataReceived});
    EXPECT_EQ(rig.port.readAll(), QByteArray("\x01\x0d"));
    rig.port.close();

    rig.port.setDevicePath(QStringLiteral("rfc2217://127.0.0.1:2001"));
    ASSERT_TRUE(rig.port.open());
    EXPECT_EQ(rig.made.size(), 1) << "both network kinds share one transport";
    rig.port.close();

    rig.port.setPortNumber(4);
    EXPECT_EQ(rig.port.devicePath(), QStringLiteral("/dev/ttyS3"));
    ASSERT_TRUE(rig.port.open());
    EXPECT_EQ(rig.made, (QList<PortAddress::Kind>{PortAddress::Kind::Tcp, PortAddress::Kind::Device}));
    EXPECT_EQ(rig.last->devicePath(), QStringLiteral("/dev/ttyS3"));
    EXPECT_EQ(rig.last->settings.baud, 9600);
}

TEST(AddressedSerialPort, ABadAddressOrATransportsFailureIsTheOpenFailure)
{
    Rig rig;
    rig.port.setDevicePath(QStringLiteral("tcp://nowhere"));
    EXPECT_FALSE(rig.port.open());
    EXPECT_TRUE(rig.port.errorString().contains(QStringLiteral("HOST:PORT")));
    EXPECT_TRUE(rig.made.isEmpty());

    rig.port.setDevicePath(QStringLiteral("/dev/ttyUSB7"));
    ASSERT_TRUE(rig.port.open());
    rig.port.close();
    rig.last->gone = true;
    EXPECT_FALSE(rig.port.open());
    EXPECT_EQ(rig.port.openFailure(), OpenFailure::Missing);
    EXPECT_FALSE(rig.port.isOpen());
}
