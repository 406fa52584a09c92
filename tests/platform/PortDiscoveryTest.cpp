// The ports present and the names they are remembered by.

#include "platform/QtPortDiscovery.h"
#include "platform/StablePortName.h"
#include "support/QtPrinters.h"
#include "support/ScriptedPortDiscovery.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(QtPortDiscovery, AByIdLinkNamesThePortItPointsAt)
{
    QTemporaryDir dev;
    // Stand-ins for two device files and the by-id folder linking to one.
    for (const char *name : {"ttyUSB0", "ttyUSB1"}) {
        QFile file(dev.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString byId = dev.filePath(QStringLiteral("by-id"));
    ASSERT_TRUE(QDir().mkpath(byId));
    const QString link = byId + QStringLiteral("/usb-FTDI_FT232R_A6008isP-if00-port0");
    ASSERT_TRUE(QFile::link(QStringLiteral("../ttyUSB1"), link));

    QList<PortInfo> ports(2);
    ports[0].systemName = dev.filePath(QStringLiteral("ttyUSB0"));
    ports[1].systemName = dev.filePath(QStringLiteral("ttyUSB1"));
    QtPortDiscovery::addStableNames(ports, byId);
    EXPECT_TRUE(ports[0].byId.isEmpty());
    EXPECT_EQ(ports[1].byId, link);

    QtPortDiscovery::addStableNames(ports, dev.filePath(QStringLiteral("no-such-folder"))); // no by-id: no harm
    EXPECT_EQ(ports[1].byId, link);
}

TEST(StablePortName, AUsbAdapterIsRememberedByItsByIdNameAndFoundAgainAfterReplugging)
{
    ScriptedPortDiscovery discovery;
    discovery.present = ScriptedPortDiscovery::typical();
    const QString byId = discovery.present[1].byId;

    struct Case
    {
        QString chosen, remembered;
    };
    const Case cases[] = {
        {QStringLiteral("/dev/ttyUSB0"), byId},               // listed adapter: its stable name
        {byId, byId},                                         // chosen by that name already
        {QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyS0")}, // no by-id link
        {QStringLiteral("/dev/ttyACM3"), QStringLiteral("/dev/ttyACM3")}, // typed, not present
        {QStringLiteral("tcp://rack:4001"), QStringLiteral("tcp://rack:4001")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(StablePortName::toRemember(c.chosen, discovery.ports()), c.remembered) << c.chosen.toStdString();

    // Replugged, the adapter came back as ttyUSB1: the remembered name finds it.
    discovery.present[1].systemName = QStringLiteral("/dev/ttyUSB1");
    const auto found = StablePortName::presentPort(byId, discovery.ports());
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->systemName, QStringLiteral("/dev/ttyUSB1"));

    discovery.present.removeAt(1); // pulled
    EXPECT_FALSE(StablePortName::presentPort(byId, discovery.ports()).has_value());
    EXPECT_FALSE(StablePortName::presentPort(QString(), discovery.ports()).has_value());
}
