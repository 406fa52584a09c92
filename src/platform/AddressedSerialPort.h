#pragma once

#include "netserial/PortAddress.h"
#include "link/SerialPort.h"

#include <functional>
#include <memory>

// The port the link engine is given: it reaches whatever its address names
// (a port number, a device path, tcp:// or rfc2217://), choosing the
// transport at each open, so the same engine talks to a local serial
// device or to a network serial server. It is whatever its address makes
// it: a network address keeps its connection, and a new address closes
// the old one.
class AddressedSerialPort : public SerialPort
{
public:
    using TransportFactory = std::function<std::unique_ptr<SerialPort>(PortAddress::Kind)>;

    // Without a factory: QSerialPort for devices, a TCP socket otherwise.
    explicit AddressedSerialPort(TransportFactory factory = {});
    ~AddressedSerialPort() override;

    void configure(const LineSettings &settings) override;
    void setPortNumber(int number) override;
    // Any address PortAddress reads; closes the port when it names
    // another one.
    void setDevicePath(const QString &address) override;
    // The address as set, or the device a port number stands for.
    QString devicePath() const override;

    bool open() override;
    OpenProgress startOpen() override;
    void close() override;
    bool isOpen() const override;
    QString errorString() const override;
    OpenFailure openFailure() const override;

    void write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    void discardInput() override;

    bool keepsConnection() const override { return m_network; }
    int replyTimeout() const override;
    int guardTime() const override;
    int roundTrip() const override;
    void addRoundTripSample(int milliseconds) override;
    QString unknownCertificate() const override;

private:
    static std::unique_ptr<SerialPort> makeTransport(PortAddress::Kind kind);
    // The transport for the address, configured; null when the address
    // cannot be read (m_error says why).
    SerialPort *prepareTransport();

    TransportFactory m_factory;
    LineSettings m_settings;
    QString m_address;
    bool m_network = false;
    std::unique_ptr<SerialPort> m_transport;
    bool m_transportIsNetwork = false;
    // The address could not be read (m_error says why).
    bool m_unreadable = false;
    QString m_error;
};
