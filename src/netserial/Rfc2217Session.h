#pragma once

#include "TelnetCodec.h"
#include "link/SerialPort.h"

#include <QList>
#include <QString>

// The client's side of a telnet connection to a serial device server with
// the COM-PORT-OPTION of RFC 2217: binary both ways, no go-ahead, and the
// far serial port set to our line settings. Pure: the network port hands
// it what arrived and writes what it returns.
//
// Everything the server sends is handled in the order it stood in the
// stream, so the outcome (data, replies, events, readiness, failure) does
// not depend on how TCP cut the stream into pieces.
//
// Every setting sent must come back confirmed with the value sent: speed,
// data bits, parity, stop bits, the flow control and RTS. Answers to one
// command are matched to its requests in the order the server sent them.
// The requests end with a query of the speed; its answer shows the server
// has dealt with everything before it. A server that controls no RTS on
// its device (ser2net on a pseudo-terminal) leaves the RTS request
// unanswered, which is taken as RTS not driven; one that answers it with
// another value is refused.
//
// failure() is one short Japanese sentence whose subject is the server,
// so a caller puts the address before it: "<address> は" + failure(),
// e.g. "rfc2217://10.0.0.5:7000 はハードウェアフロー制御を有効にしました。".
// Values appear in words, never as RFC 2217 numbers.
class Rfc2217Session
{
public:
    enum : quint8 { Binary = 0, Echo = 1, SuppressGoAhead = 3, ComPort = 44 };
    // COM-PORT-OPTION commands from client to server; the server answers
    // each with the same number plus 100.
    enum : quint8 {
        SetBaudRate = 1,
        SetDataSize = 2,
        SetParity = 3,
        SetStopSize = 4,
        SetControl = 5,
        NotifyLineState = 6,
        NotifyModemState = 7,
        SetLineStateMask = 10,
        SetModemStateMask = 11,
        ServerOffset = 100,
    };
    // SET-CONTROL values this client sends or may be answered with.
    enum : quint8 { NoFlowControl = 1, XonXoffFlowControl = 2, HardwareFlowControl = 3, RtsOn = 11, RtsOff = 12 };
    // NOTIFY-LINESTATE bits that are line errors.
    enum : quint8 { OverrunBit = 0x02, ParityBit = 0x04, FramingBit = 0x08, BreakBit = 0x10 };

    explicit Rfc2217Session(const LineSettings &settings = {});

    // What the client says first: the options it wants.
    QByteArray start();

    struct Received
    {
        QByteArray data;         // serial bytes from the far port
        QByteArray reply;        // to be written back to the server at once
        QList<CommEvent> events; // line errors the server reported
    };
    Received receive(const QByteArray &bytes);

    // Serial bytes as they go on the wire.
    static QByteArray encode(const QByteArray &data) { return TelnetCodec::escape(data); }

    // Both directions binary, the port option agreed and every setting
    // confirmed as sent.
    bool ready() const;
    // Why the server cannot carry the line; empty while all is well. The
    // first reason found stays.
    QString failure() const { return m_failure; }
    // Bytes the session holds between calls (bounded by the codec's limit).
    qsizetype heldBytes() const { return m_codec.heldBytes(); }

    // The line errors of one NOTIFY-LINESTATE value.
    static QList<CommEvent> lineErrors(quint8 state);

private:
    // What a request set, for matching its answer and naming it.
    enum class Setting { Speed, DataBits, Parity, StopBits, FlowControl, Rts, SpeedQuery };
    struct Request
    {
        quint8 command = 0;
        quint32 value = 0; // what the answer must carry
        Setting setting = Setting::Speed;
    };

    static QString settingName(Setting setting);
    static QString valueWords(Setting setting, quint32 value);

    QByteArray onCommand(quint8 verb, quint8 option);
    QByteArray settingsRequest();
    void onComPort(const QByteArray &payload, Received &out);
    void onAnswer(quint8 command, const QByteArray &value);
    void fail(const QString &why);

    LineSettings m_settings;
    TelnetCodec m_codec;
    // Per option: whether we do it (our WILL agreed) and whether the
    // server does it (its WILL agreed).
    bool m_weBinary = false, m_theyBinary = false;
    bool m_weSga = false, m_theySga = false;
    bool m_weComPort = false;
    bool m_settingsSent = false;
    // Sent and not yet answered, in the order sent; a fixed handful.
    QList<Request> m_pending;
    QString m_failure;
};
