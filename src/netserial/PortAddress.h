#pragma once

#include <QString>

// Where the device is, as an operator types it or --port gives it:
//   N                   port 1..8 (ORVEX_COM<n>, else the n-th serial port)
//   /dev/ttyUSB0, COM12 a serial device
//   tcp://HOST:PORT     raw TCP to a serial device server
//   rfc2217://HOST:PORT telnet with RFC 2217 port control
//   tls://HOST:PORT, rfc2217+tls://HOST:PORT  the same inside TLS
// An IPv6 host goes in brackets: tcp://[::1]:2000.
struct PortAddress
{
    enum class Kind { Invalid, Device, Tcp, Rfc2217, Tls, Rfc2217Tls };
    // What is wrong with an invalid address, so a window can say it in its
    // own words.
    enum class Problem { None, Empty, NeedsHostAndPort, Ipv6NeedsBrackets, PortOutOfRange, UnknownKind, NumberOutOfRange };

    Kind kind = Kind::Invalid;
    QString device; // Device
    QString host;   // network kinds; without brackets
    quint16 port = 0;
    QString error;  // Invalid: why, in words for the operator
    Problem problem = Problem::None;

    static PortAddress parse(const QString &text);

    bool isValid() const { return kind != Kind::Invalid; }
    bool isNetwork() const { return kind != Kind::Invalid && kind != Kind::Device; }
    bool isEncrypted() const { return kind == Kind::Tls || kind == Kind::Rfc2217Tls; }
    bool speaksTelnet() const { return kind == Kind::Rfc2217 || kind == Kind::Rfc2217Tls; }
    // HOST:PORT of a network address, the host lower-cased and an IPv6 one
    // in brackets: what a server's trust is kept under.
    QString endpoint() const;
    // The address written back the way parse() reads it; a port number
    // comes back as the device it stands for.
    QString toString() const;
};
