#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// What the port reports to its owner. The numbers are the event codes the
// device link has always used for its line, kept so logs and tests can name
// them unambiguously.
enum class CommEvent : int {
    SendBelowThreshold = 1,
    DataReceived = 2,
    CtsChanged = 3,
    DsrChanged = 4,
    CarrierChanged = 5,
    Ring = 6,
    EndOfFile = 7,
    Break = 1001,
    Framing = 1004,
    Overrun = 1006,
    ReceiveOverflow = 1008,
    ReceiveParity = 1009,
    TransmitFull = 1010,
    ConfigUnreadable = 1011,
    Unknown = 9999,
    // Not line events: a port that connects rather than opening at once
    // (startOpen() said Pending) reports how its open ended.
    Opened = 2001,
    OpenFailed = 2002,
    // Bytes that cannot be the line's: telnet control on a raw network
    // connection, which carries no telnet. Also given as data.
    ForeignData = 2003,
};

// Line settings of the title generator's serial line.
struct LineSettings
{
    int baud = 9600;
    char parity = 'N';
    int dataBits = 8;
    int stopBits = 1;
    bool flowControl = false; // neither RTS/CTS nor XON/XOFF
    bool rts = false;         // RTS is never asserted
};

// Why a port would not open, as far as the operator can do something
// about it. ServerRefused: a network serial server answered the connection
// with its own text instead of carrying the line (errorString() has it in
// words). Tls: an encrypted connection was not made or the server not
// proven to be the one asked for (errorString() has it in words too).
enum class OpenFailure { None, Missing, Busy, Denied, Refused, UnknownHost, NoAnswer, Reset, ServerRefused, Tls, Other };

// How far startOpen() got.
enum class OpenProgress { Opened, Failed, Pending };

// A serial port as the link engine sees it. The real one is
// platform/AddressedSerialPort, which reaches a local device through
// QSerialPort (QtSerialPortAdapter) or a network serial server
// (NetworkSerialPort); tests use a scripted fake.
//
// Two kinds of port, told apart by keepsConnection():
// - A local line opens at once and is opened and closed around every
//   operation, as the device link has always done.
// - A network port connects, which takes a round trip or more: startOpen()
//   returns Pending and the port later reports CommEvent::Opened or
//   CommEvent::OpenFailed. Its connection is kept between operations (a
//   TCP connect and a negotiation for every poll would cost more than the
//   poll), so it also measures its path: how long a reply may take.
class SerialPort
{
public:
    using EventHandler = std::function<void(CommEvent)>;

    virtual ~SerialPort() = default;

    virtual void configure(const LineSettings &settings) = 0;
    // Port n (1..8) names a device through ORVEX_COM<n> or the platform's
    // n-th serial port; takes effect at the next open().
    virtual void setPortNumber(int number) = 0;
    // Names the device directly (a path such as /dev/ttyUSB0); a port that
    // also reaches network serial servers takes tcp:// and rfc2217://
    // addresses here too.
    virtual void setDevicePath(const QString &path) = 0;
    // The device that the next open() will use.
    virtual QString devicePath() const = 0;

    // Opens at once; false when the port cannot be opened (or, for a port
    // that must connect, has not connected yet); errorString() (the
    // system's words) and openFailure() say why.
    virtual bool open() = 0;
    // Opens, or starts opening a port that must connect. Never waits.
    virtual OpenProgress startOpen() { return open() ? OpenProgress::Opened : OpenProgress::Failed; }
    // Also abandons an open in progress: no Opened or OpenFailed follows.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual QString errorString() const = 0;
    virtual OpenFailure openFailure() const = 0;

    // Text commands and raw byte blocks both leave as bytes, in call order.
    virtual void write(const QByteArray &bytes) = 0;
    // Everything waiting in the input buffer, as raw bytes.
    virtual QByteArray readAll() = 0;
    // Throws away whatever has arrived and not been read yet.
    virtual void discardInput() = 0;

    // True for a port whose connection outlives an operation (a network
    // port); it closes itself when it has not been used for a while.
    virtual bool keepsConnection() const { return false; }
    // For a port that keeps its connection: how long a reply may take on
    // its path (ms), how long late bytes may still come after a reply
    // (about one round trip), the smoothed round trip so far (ms, for
    // messages; -1 while no reply has been timed), and a new round trip measured from a frame to its
    // complete reply. Never asked of a local line, whose device answers
    // within the engine's fixed time-out.
    virtual int replyTimeout() const { return 500; }
    virtual int guardTime() const { return 0; }
    virtual int roundTrip() const { return -1; }
    virtual void addRoundTripSample(int milliseconds) { (void)milliseconds; }
    // After an open failed because the server showed a certificate nobody
    // chose to trust: its SHA-256 fingerprint, so the operator can be asked
    // whether to trust it. Empty otherwise.
    virtual QString unknownCertificate() const { return {}; }

    // Called for every received chunk (DataReceived) and every line error.
    // A line that is gone (hung up, end of file, device removed) is no line
    // error: the port closes without an event and the next open() says why.
    void setEventHandler(EventHandler handler) { m_handler = std::move(handler); }

protected:
    void notify(CommEvent event)
    {
        if (m_handler)
            m_handler(event);
    }

private:
    EventHandler m_handler;
};
