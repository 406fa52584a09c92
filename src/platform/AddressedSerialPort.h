#pragma once

#include "netserial/PortAddress.h"
#include "link/SerialPort.h"

#include <functional>
#include <memory>

// The port the link engine is given: it reaches whatever its address names
// (a port number, a device path, tcp:// or rfc2217://), choosing the
// transport at each open(), so the same engine talks to a local serial
// device or to a network serial server.
class AddressedSerialPort : public SerialPort
{
public:
    using TransportFactory = std::function<std::unique_ptr<SerialPort>(PortAddress::Kind)>;

    // Without a factory: QSerialPort for devices, a TCP socket otherwise.
    explicit AddressedSerialPort(TransportFactory factory = {});
    ~AddressedSerialPort() override;

    void configure(const LineSettings &settings) override;
    void setPortNumber(int number) override;
    // Any address PortAddress reads.
    void setDevicePath(const QString &address) override;
    // The address as set, or the device a port number stands for.
    QString devicePath() const override;

    bool open() override;
    void close() override;
    bool isOpen() const override;
    QString errorString() const override;
    OpenFailure openFailure() const override;

    void write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    void discardInput() override;

private:
    static std::unique_ptr<SerialPort> makeTransport(PortAddress::Kind kind);

    TransportFactory m_factory;
    LineSettings m_settings;
    QString m_address;
    std::unique_ptr<SerialPort> m_transport;
    bool m_transportIsNetwork = false;
    QString m_error;
    OpenFailure m_failure = OpenFailure::None;
};
