// Reading what an operator or --port gives as a port.

#include "netserial/PortAddress.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using K = PortAddress::Kind;

struct Case
{
    const char *text;
    K kind;
    const char *deviceOrHost; // the device, or the host of a network address
    int port;
    const char *shown;        // toString(); for invalid ones, part of the error
};

} // namespace

TEST(PortAddress, ReadsEveryFormAndExplainsWhatItCannotRead)
{
    qputenv("ORVEX_COM2", "/dev/ttyUSB0");
    qputenv("ORVEX_COM3", "tcp://rack-7:4001");
    const Case cases[] = {
        {"1", K::Device, "/dev/ttyS0", 0, "/dev/ttyS0"},
        {" 8 ", K::Device, "/dev/ttyS7", 0, "/dev/ttyS7"},
        {"2", K::Device, "/dev/ttyUSB0", 0, "/dev/ttyUSB0"},   // ORVEX_COM2 wins
        {"3", K::Tcp, "rack-7", 4001, "tcp://rack-7:4001"},   // and may name a server
        {"/dev/ttyACM0", K::Device, "/dev/ttyACM0", 0, "/dev/ttyACM0"},
        {"/dev/serial/by-id/usb-FTDI_X-if00-port0", K::Device, "/dev/serial/by-id/usb-FTDI_X-if00-port0", 0,
         "/dev/serial/by-id/usb-FTDI_X-if00-port0"},
        {"COM12", K::Device, "COM12", 0, "COM12"},
        {"tcp://127.0.0.1:2000", K::Tcp, "127.0.0.1", 2000, "tcp://127.0.0.1:2000"},
        {"TCP://host.example:65535/", K::Tcp, "host.example", 65535, "tcp://host.example:65535"},
        {"rfc2217://10.0.0.5:7000", K::Rfc2217, "10.0.0.5", 7000, "rfc2217://10.0.0.5:7000"},
        {"rfc2217://[::1]:2001", K::Rfc2217, "::1", 2001, "rfc2217://[::1]:2001"},
        {"TLS://rack-7:4443/", K::Tls, "rack-7", 4443, "tls://rack-7:4443"},
        {"rfc2217+tls://[::1]:7001", K::Rfc2217Tls, "::1", 7001, "rfc2217+tls://[::1]:7001"},
        {"rfc2217+tls://host", K::Invalid, "", 0, "HOST:PORT"},
        {"tls+rfc2217://host:1", K::Invalid, "", 0, "unknown kind of address"},
        // A "%1" of the operator's own is kept, not filled in.
        {"tcp://a%1b:2000", K::Tcp, "a%1b", 2000, "tcp://a%1b:2000"},
        {"rfc2217://%2%1:7", K::Rfc2217, "%2%1", 7, "rfc2217://%2%1:7"},
        {"tcp://[fe80::1%eth0]:1", K::Invalid, "", 0, "needs a host and a port"},
        {"", K::Invalid, "", 0, "no port given"},
        {"0", K::Invalid, "", 0, "1..8"},
        {"9", K::Invalid, "", 0, "1..8"},
        {"tcp://host", K::Invalid, "", 0, "HOST:PORT"},
        {"tcp://:2000", K::Invalid, "", 0, "HOST:PORT"},
        {"tcp://host:0", K::Invalid, "", 0, "1..65535"},
        {"tcp://host:70000", K::Invalid, "", 0, "1..65535"},
        {"tcp://host:20/x", K::Invalid, "", 0, "HOST:PORT"},
        {"tcp://::1:2000", K::Invalid, "", 0, "brackets"},
        {"udp://host:2000", K::Invalid, "", 0, "unknown kind of address"},
    };
    for (const Case &c : cases) {
        const PortAddress a = PortAddress::parse(QString::fromUtf8(c.text));
        EXPECT_EQ(a.kind, c.kind) << c.text;
        if (c.kind == K::Invalid) {
            EXPECT_TRUE(a.error.contains(QString::fromUtf8(c.shown))) << c.text << ": " << a.error.toStdString();
            continue;
        }
        EXPECT_EQ(a.isNetwork() ? a.host : a.device, QString::fromUtf8(c.deviceOrHost)) << c.text;
        EXPECT_EQ(a.port, c.port) << c.text;
        EXPECT_EQ(a.toString(), QString::fromUtf8(c.shown)) << c.text;
        EXPECT_EQ(PortAddress::parse(a.toString()).toString(), a.toString()) << "reads back: " << c.text;
    }
    qunsetenv("ORVEX_COM2");
    qunsetenv("ORVEX_COM3");
}

TEST(PortAddress, KeepsOneEndpointForEveryKindOfTheSameServer)
{
    // Trust belongs to the server, whichever protocol reaches it.
    for (const char *text : {"tls://Rack-7:4443", "rfc2217+tls://rack-7:4443", "tcp://RACK-7:4443"})
        EXPECT_EQ(PortAddress::parse(QString::fromUtf8(text)).endpoint(), QStringLiteral("rack-7:4443")) << text;
    EXPECT_EQ(PortAddress::parse(QStringLiteral("tls://[FE80::1]:1")).endpoint(), QStringLiteral("[fe80::1]:1"));
    EXPECT_TRUE(PortAddress::parse(QStringLiteral("/dev/ttyS0")).endpoint().isEmpty());
}

TEST(PortAddress, ReadsAFarSiteWithItsUserHostPortAndThePortThere)
{
    const struct
    {
        const char *text;
        const char *user, *host;
        int port;
        const char *there; // empty: invalid, and this is part of the error
        const char *shown;
    } cases[] = {
        {"ssh://pi@site3/dev/ttyUSB0", "pi", "site3", 0, "/dev/ttyUSB0", "ssh://pi@site3/dev/ttyUSB0"},
        {"SSH://site3:2222/dev/serial/by-id/usb-FTDI_X-if00-port0", "", "site3", 2222,
         "/dev/serial/by-id/usb-FTDI_X-if00-port0", "ssh://site3:2222/dev/serial/by-id/usb-FTDI_X-if00-port0"},
        {"ssh://[::1]:22/tmp/unit a;$(x)'b", "", "::1", 22, "/tmp/unit a;$(x)'b", "ssh://[::1]:22/tmp/unit a;$(x)'b"},
        {"ssh://site3/3", "", "site3", 0, "3", "ssh://site3/3"},
        {"ssh://site3/tcp://rack:4001", "", "site3", 0, "tcp://rack:4001", "ssh://site3/tcp://rack:4001"},
        {"ssh://site3", "", "", 0, "", "needs a host and the port there"},
        {"ssh://site3/", "", "", 0, "", "the port on the far computer"},
        {"ssh://site3:0/dev/x", "", "", 0, "", "1..65535"},
    };
    for (const auto &c : cases) {
        const PortAddress a = PortAddress::parse(QString::fromUtf8(c.text));
        if (!*c.there) {
            EXPECT_FALSE(a.isValid()) << c.text;
            EXPECT_TRUE(a.error.contains(QString::fromUtf8(c.shown))) << c.text << ": " << a.error.toStdString();
            continue;
        }
        EXPECT_TRUE(a.isFar()) << c.text;
        EXPECT_FALSE(a.isNetwork()) << c.text;
        EXPECT_EQ(a.user, QString::fromUtf8(c.user)) << c.text;
        EXPECT_EQ(a.host, QString::fromUtf8(c.host)) << c.text;
        EXPECT_EQ(a.port, c.port) << c.text;
        EXPECT_EQ(a.device, QString::fromUtf8(c.there)) << c.text;
        EXPECT_EQ(a.toString(), QString::fromUtf8(c.shown)) << c.text;
        EXPECT_EQ(PortAddress::parse(a.toString()).toString(), a.toString()) << c.text;
    }
}
