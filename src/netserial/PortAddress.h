#pragma once

#include <QString>

// Where the device is, as an operator types it or --port gives it:
//   N                   port 1..8 (ORVEX_COM<n>, else the n-th serial port)
//   /dev/ttyUSB0, COM12 a serial device
//   tcp://HOST:PORT     raw TCP to a serial device server
//   rfc2217://HOST:PORT telnet with RFC 2217 port control
//   ssh://[USER@]HOST[:PORT]/PORT-THERE
//                       the link engine run on a far computer through the
//                       user's own ssh, on its port PORT-THERE (a device
//                       path such as /dev/ttyUSB0, or any address above)
// An IPv6 host goes in brackets: tcp://[::1]:2000.
struct PortAddress
{
    enum class Kind { Invalid, Device, Tcp, Rfc2217, Ssh };
    // What is wrong with an invalid address, so a window can say it in its
    // own words.
    enum class Problem { None, Empty, NeedsHostAndPort, Ipv6NeedsBrackets, PortOutOfRange, UnknownKind, NumberOutOfRange,
                         NeedsFarPort };

    Kind kind = Kind::Invalid;
    QString device; // Device; Ssh: the port on the far computer
    QString host;   // Tcp, Rfc2217, Ssh; without brackets
    quint16 port = 0; // Ssh: 0 leaves it to ssh
    QString user;   // Ssh: empty leaves it to ssh
    QString error;  // Invalid: why, in words for the operator
    Problem problem = Problem::None;

    static PortAddress parse(const QString &text);

    bool isValid() const { return kind != Kind::Invalid; }
    bool isNetwork() const { return kind == Kind::Tcp || kind == Kind::Rfc2217; }
    // The engine runs on the far computer, not in this program.
    bool isFar() const { return kind == Kind::Ssh; }
    // The address written back the way parse() reads it; a port number
    // comes back as the device it stands for.
    QString toString() const;
};
