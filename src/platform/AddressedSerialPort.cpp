#include "AddressedSerialPort.h"

#include "NetworkSerialPort.h"
#include "QtSerialPortAdapter.h"
#include "netserial/SerialPortNames.h"

AddressedSerialPort::AddressedSerialPort(TransportFactory factory)
    : m_factory(factory ? std::move(factory) : TransportFactory(&AddressedSerialPort::makeTransport))
{
}

AddressedSerialPort::~AddressedSerialPort() = default;

std::unique_ptr<SerialPort> AddressedSerialPort::makeTransport(PortAddress::Kind kind)
{
    if (kind == PortAddress::Kind::Device)
        return std::make_unique<QtSerialPortAdapter>();
    return std::make_unique<NetworkSerialPort>();
}

void AddressedSerialPort::configure(const LineSettings &settings)
{
    m_settings = settings;
    if (m_transport)
        m_transport->configure(settings);
}

void AddressedSerialPort::setPortNumber(int number)
{
    setDevicePath(SerialPortNames::deviceForPort(number));
}

void AddressedSerialPort::setDevicePath(const QString &address)
{
    m_address = address;
}

QString AddressedSerialPort::devicePath() const
{
    return m_address;
}

bool AddressedSerialPort::open()
{
    if (isOpen())
        return true;
    const PortAddress address = PortAddress::parse(m_address);
    if (!address.isValid()) {
        m_failure = OpenFailure::Other;
        m_error = address.error;
        return false;
    }
    // A transport of the other kind is dropped; one of the same kind is
    // kept, so a local port keeps its error counters' baseline.
    if (!m_transport || m_transportIsNetwork != address.isNetwork()) {
        m_transport = m_factory(address.kind);
        m_transportIsNetwork = address.isNetwork();
        m_transport->setEventHandler([this](CommEvent event) { notify(event); });
    }
    m_transport->configure(m_settings);
    m_transport->setDevicePath(address.toString());
    const bool ok = m_transport->open();
    m_failure = m_transport->openFailure();
    m_error = m_transport->errorString();
    return ok;
}

void AddressedSerialPort::close()
{
    if (m_transport)
        m_transport->close();
}

bool AddressedSerialPort::isOpen() const
{
    return m_transport && m_transport->isOpen();
}

QString AddressedSerialPort::errorString() const
{
    return m_error;
}

OpenFailure AddressedSerialPort::openFailure() const
{
    return m_failure;
}

void AddressedSerialPort::write(const QByteArray &bytes)
{
    if (m_transport)
        m_transport->write(bytes);
}

QByteArray AddressedSerialPort::readAll()
{
    return m_transport ? m_transport->readAll() : QByteArray();
}

void AddressedSerialPort::discardInput()
{
    if (m_transport)
        m_transport->discardInput();
}
