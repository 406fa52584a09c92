#pragma once

#include <QByteArray>

// Why an exchange on the line was not the unit's own answer.
enum class LineFault {
    None,
    Echo,   // the reply is the first bytes of the frame itself: a loopback
    Extra,  // more bytes than the reply before the next frame was answered
    Telnet, // telnet control on a raw connection, which carries no telnet
    Shape,  // every try answered with the same wrong number of bytes
};

// Judges one exchange as its bytes arrive: a frame went out and its reply
// is awaited. Only a clean reply answers the frame: exactly the reply's
// bytes, not the frame's own first bytes. A count of bytes alone would let
// an echo, noise or a stranger on the line answer for the unit. Judges
// what has arrived and never waits to see whether more comes.
//
// A frame sent again on a connection that still carries its first copy may
// be answered once per copy; `copies` allows for that.
class ReplyCheck
{
public:
    enum class Verdict { Waiting, Clean, Unclean };

    void begin(const QByteArray &frame, int replyLength);
    // The frame went again on the same line: what came so far stays, and
    // one more answer is allowed.
    void sentAgain() { ++m_copies; }
    Verdict add(const QByteArray &bytes);
    // Something not of the line came in the middle of the exchange.
    Verdict spoil(LineFault fault);

    LineFault fault() const { return m_fault; }
    int replyLength() const { return m_replyLength; }
    // Bytes received since the frame left.
    int received() const { return int(m_bytes.size()); }
    // The reply's own bytes once clean.
    QByteArray reply() const { return m_bytes.left(m_replyLength); }
    // Bytes a later answer to an earlier copy of the frame may still bring.
    int allowance() const { return m_copies * m_replyLength - received(); }

private:
    QByteArray m_frame;
    QByteArray m_bytes;
    int m_replyLength = 0;
    int m_copies = 1;
    LineFault m_fault = LineFault::None;
};
