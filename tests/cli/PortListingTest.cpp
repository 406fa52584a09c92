// `orvex ports`: what it prints for a scripted list, and the real tool's
// JSON on this machine.

#include "cli/PortListing.h"
#include "support/QtPrinters.h"
#include "support/ScriptedPortDiscovery.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

TEST(PortListing, OneLinePerPortWithWhatIsKnown)
{
    EXPECT_EQ(PortListing::text(ScriptedPortDiscovery::typical()),
              QStringLiteral("/dev/ttyS0\n"
                             "/dev/ttyUSB0  FT232R USB UART  FTDI  serial A6008isP  0403:6001  "
                             "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A6008isP-if00-port0\n"));
    EXPECT_TRUE(PortListing::text({}).isEmpty());
}

TEST(PortListing, JsonHasEveryFieldAndNullWhereUnknown)
{
    const QJsonArray ports = QJsonDocument::fromJson(PortListing::json(ScriptedPortDiscovery::typical())).array();
    ASSERT_EQ(ports.size(), 2);
    const QJsonObject onboard = ports[0].toObject();
    EXPECT_EQ(onboard[QStringLiteral("port")].toString(), QStringLiteral("/dev/ttyS0"));
    for (const char *key : {"description", "manufacturer", "serial", "vid", "pid", "by_id"})
        EXPECT_TRUE(onboard[QLatin1String(key)].isNull()) << key;
    const QJsonObject usb = ports[1].toObject();
    const std::pair<const char *, const char *> want[] = {
        {"port", "/dev/ttyUSB0"}, {"description", "FT232R USB UART"}, {"manufacturer", "FTDI"},
        {"serial", "A6008isP"},  {"vid", "0403"},                    {"pid", "6001"},
        {"by_id", "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A6008isP-if00-port0"},
    };
    for (const auto &[key, value] : want)
        EXPECT_EQ(usb[QLatin1String(key)].toString(), QString::fromUtf8(value)) << key;
    EXPECT_EQ(QJsonDocument::fromJson(PortListing::json({})).array().size(), 0);
}

TEST(PortsCommand, ListsThisMachinesPortsAsJsonThatSendAccepts)
{
    QProcess tool;
    tool.start(QStringLiteral(ORVEX_TOOL), {QStringLiteral("ports"), QStringLiteral("--json")});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(tool.readAllStandardOutput(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    ASSERT_TRUE(doc.isArray());
    for (const QJsonValue &port : doc.array()) {
        EXPECT_TRUE(port.toObject()[QStringLiteral("port")].toString().startsWith(u'/'));
        EXPECT_TRUE(port.toObject().contains(QStringLiteral("by_id")));
    }

    QProcess bad;
    bad.start(QStringLiteral(ORVEX_TOOL), {QStringLiteral("ports"), QStringLiteral("--xml")});
    ASSERT_TRUE(bad.waitForFinished(60000));
    EXPECT_EQ(bad.exitCode(), 2);
}
