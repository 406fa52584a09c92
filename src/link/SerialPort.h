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
// about it.
enum class OpenFailure { None, Missing, Busy, Denied, Other };

// A serial port as the link engine sees it. The real one wraps QSerialPort
// (platform/QtSerialPortAdapter); tests use a scripted fake.
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

    // Returns false when the port cannot be opened; errorString() (the
    // system's words) and openFailure() say why.
    virtual bool open() = 0;
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
