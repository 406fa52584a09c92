#pragma once

#include "TelnetCodec.h"
#include "link/SerialPort.h"

#include <QString>

// The client's side of a telnet connection to a serial device server with
// the COM-PORT-OPTION of RFC 2217: binary both ways, no go-ahead, and the
// far serial port set to our line settings. Pure: the network port hands
// it what arrived and writes what it returns.
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

    // Both directions binary, the port option agreed and the server has
    // confirmed speed, data bits, parity and stop bits.
    bool ready() const;
    // Why the server cannot carry the line; empty while all is well.
    QString failure() const { return m_failure; }

    // The line errors of one NOTIFY-LINESTATE value.
    static QList<CommEvent> lineErrors(quint8 state);

private:
    QByteArray onCommand(const TelnetCodec::Command &command);
    QByteArray settingsRequest() const;
    void onComPort(const QByteArray &payload, Received &out);
    void fail(const QString &why);

    LineSettings m_settings;
    TelnetCodec m_codec;
    // Per option: whether we do it (our WILL agreed) and whether the
    // server does it (its WILL agreed).
    bool m_weBinary = false, m_theyBinary = false;
    bool m_weSga = false, m_theySga = false;
    bool m_weComPort = false;
    bool m_settingsSent = false;
    // Bits 1..4: SET-BAUDRATE..SET-STOPSIZE confirmed.
    int m_confirmed = 0;
    QString m_failure;
};
