#pragma once

#include <QString>

#include <cstddef>

// Where the device is, as an operator types it or --port gives it:
//   N                   port 1..8 (ORVEX_COM<n>, else the n-th serial port)
//   /dev/ttyUSB0, COM12 a serial device
//   tcp://HOST:PORT     raw TCP to a serial device server
//   rfc2217://HOST:PORT telnet with RFC 2217 port control
//   tls://HOST:PORT, rfc2217+tls://HOST:PORT  the same inside TLS
//   ssh://[USER@]HOST[:PORT]/PORT-THERE
//                       the link engine run on a far computer through the
//                       user's own ssh, on its port PORT-THERE (a device
//                       path such as /dev/ttyUSB0, or any address above)
// An IPv6 host goes in brackets: tcp://[::1]:2000.
struct PortAddress
{
    enum class Kind { Invalid, Device, Tcp, Rfc2217, Tls, Rfc2217Tls, Ssh };
    // What is wrong with an invalid address, so a window can say it in its
    // own words.
    enum class Problem { None, Empty, NeedsHostAndPort, Ipv6NeedsBrackets, PortOutOfRange, UnknownKind, NumberOutOfRange,
                         NeedsFarPort };

    Kind kind = Kind::Invalid;
    QString device; // Device; Ssh: the port on the far computer
    QString host;   // network kinds and Ssh; without brackets
    quint16 port = 0; // Ssh: 0 leaves it to ssh
    QString user;   // Ssh: empty leaves it to ssh
    QString error;  // Invalid: why, in words for the operator
    Problem problem = Problem::None;

    static PortAddress parse(const QString &text);

    bool isValid() const { return kind != Kind::Invalid; }
    // A server this program connects to itself (not Ssh, whose far side does).
    bool isNetwork() const { return kind != Kind::Invalid && kind != Kind::Device && kind != Kind::Ssh; }
    bool isEncrypted() const { return kind == Kind::Tls || kind == Kind::Rfc2217Tls; }
    bool speaksTelnet() const { return kind == Kind::Rfc2217 || kind == Kind::Rfc2217Tls; }
    // HOST:PORT of a network address, the host lower-cased and an IPv6 one
    // in brackets: what a server's trust is kept under.
    QString endpoint() const;
    // The engine runs on the far computer, not in this program.
    bool isFar() const { return kind == Kind::Ssh; }
    // The address written back the way parse() reads it; a port number
    // comes back as the device it stands for.
    QString toString() const;

    // What an address reaches, so that two spellings of one port compare
    // equal: a host name in lower case without a closing dot, an IP address
    // in its one written form ([0:0:0:0:0:0:0:1] is ::1), and a device's
    // path made absolute with its links, "." and ".." resolved. Kept as a
    // kind, a host, a port and a path, so a kind that has all of them
    // (a device on a far machine) fits as well as one with a few.
    struct Identity
    {
        Kind kind = Kind::Invalid;
        QString host;
        quint16 port = 0;
        QString path;

        bool operator==(const Identity &) const = default;
    };
    // Looks a device up on the file system; an invalid address reaches nothing.
    Identity identity() const;

    // What is at a device's path, for saying at once that it is no serial port.
    enum class DeviceNode { NotADevice, Missing, Folder, RegularFile, Other };
    DeviceNode deviceNode() const;
};

size_t qHash(const PortAddress::Identity &identity, size_t seed = 0);
