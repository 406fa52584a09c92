#pragma once

#include <QByteArray>
#include <QList>

// Telnet's framing of a byte stream (RFC 854): data bytes, option commands
// (IAC WILL/WONT/DO/DONT option) and subnegotiations (IAC SB option ...
// IAC SE). No sockets: the network port feeds it whatever arrived, in
// pieces of any size, and it keeps its place between pieces.
//
// What it keeps between pieces is bounded: the state, the verb of a cut
// command and at most MaxSubnegotiation bytes of an unfinished
// subnegotiation. A server that goes beyond that has broken the stream;
// the codec says so once and reads nothing more until reset().
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
    // The longest subnegotiation payload taken; the port control's longest
    // is a few bytes, so anything near this is a server gone wrong.
    static constexpr int MaxSubnegotiation = 4096;

    // One element of the stream, in the order it stood there.
    struct Item
    {
        enum class Kind : quint8 { Data, Command, Subnegotiation };
        Kind kind = Kind::Data;
        quint8 verb = 0;   // Command: Will, Wont, Do or Dont
        quint8 option = 0; // Command, Subnegotiation
        QByteArray bytes;  // Data, or the subnegotiation's payload undoubled
        bool operator==(const Item &) const = default;

        static Item data(const QByteArray &bytes) { return {Kind::Data, 0, 0, bytes}; }
        static Item command(quint8 verb, quint8 option) { return {Kind::Command, verb, option, {}}; }
        static Item subnegotiation(quint8 option, const QByteArray &payload)
        {
            return {Kind::Subnegotiation, 0, option, payload};
        }
    };
    struct Decoded
    {
        // Data bytes that stood together come as one item; where a piece
        // ended inside them they come as two.
        QList<Item> items;
        // The stream broke in this piece (an overlong subnegotiation).
        bool broken = false;

        // All data bytes, telnet taken out.
        QByteArray data() const;
    };

    // Splits received bytes into data and telnet commands. A command or a
    // subnegotiation cut off at the end is completed by the next call.
    Decoded decode(const QByteArray &bytes);
    // Back to the start of a stream, for a new connection.
    void reset();

    bool isBroken() const { return m_state == State::Broken; }
    // Bytes held between calls; never more than MaxSubnegotiation.
    qsizetype heldBytes() const { return m_sb.size(); }

    // Data as it must go on the wire: every 0xFF doubled, nothing else
    // touched (a CR inside a frame stays a lone CR in binary mode).
    static QByteArray escape(const QByteArray &data);
    static QByteArray command(quint8 verb, quint8 option);
    static QByteArray subnegotiation(quint8 option, const QByteArray &payload);

private:
    enum class State { Data, Iac, Option, SbOption, SbData, SbIac, Broken };

    void appendToSubnegotiation(char c, Decoded &out);

    State m_state = State::Data;
    quint8 m_verb = 0;
    quint8 m_sbOption = 0;
    QByteArray m_sb;
};
