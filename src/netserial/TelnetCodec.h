#pragma once

#include <QByteArray>
#include <QList>

// Telnet's framing of a byte stream (RFC 854): data bytes, option commands
// (IAC WILL/WONT/DO/DONT option) and subnegotiations (IAC SB option ...
// IAC SE). No sockets: the network port feeds it whatever arrived, in
// pieces of any size, and it keeps its place between pieces.
class TelnetCodec
{
public:
    enum : quint8 {
        Se = 240,
        Sb = 250,
        Will = 251,
        Wont = 252,
        Do = 253,
        Dont = 254,
        Iac = 255,
    };

    struct Command
    {
        quint8 verb = 0; // Will, Wont, Do or Dont
        quint8 option = 0;
        bool operator==(const Command &) const = default;
    };
    struct Subnegotiation
    {
        quint8 option = 0;
        QByteArray payload; // undoubled
        bool operator==(const Subnegotiation &) const = default;
    };
    struct Decoded
    {
        QByteArray data;
        QList<Command> commands;
        QList<Subnegotiation> subnegotiations;
    };

    // Splits received bytes into data and telnet commands. A command or a
    // subnegotiation cut off at the end is completed by the next call.
    Decoded decode(const QByteArray &bytes);
    // Back to the start of a stream, for a new connection.
    void reset();

    // Data as it must go on the wire: every 0xFF doubled, nothing else
    // touched (a CR inside a frame stays a lone CR in binary mode).
    static QByteArray escape(const QByteArray &data);
    static QByteArray command(quint8 verb, quint8 option);
    static QByteArray subnegotiation(quint8 option, const QByteArray &payload);

private:
    enum class State { Data, Iac, Option, SbOption, SbData, SbIac };

    State m_state = State::Data;
    quint8 m_verb = 0;
    Subnegotiation m_sb;
};
