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
    if (address != m_address && m_transport)
        m_transport->close();
    m_address = address;
    m_network = PortAddress::parse(address).isNetwork();
}

QString AddressedSerialPort::devicePath() const
{
    return m_address;
}

SerialPort *AddressedSerialPort::prepareTransport()
{
    const PortAddress address = PortAddress::parse(m_address);
    m_unreadable = !address.isValid();
    if (m_unreadable) {
        m_error = address.error;
        return nullptr;
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
    return m_transport.get();
}

bool AddressedSerialPort::open()
{
    if (isOpen())
        return true;
    SerialPort *transport = prepareTransport();
    return transport && transport->open();
}

OpenProgress AddressedSerialPort::startOpen()
{
    if (isOpen())
        return OpenProgress::Opened;
    SerialPort *transport = prepareTransport();
    return transport ? transport->startOpen() : OpenProgress::Failed;
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

// Once a transport exists it says why it failed, also when its open ended
// later than startOpen().
QString AddressedSerialPort::errorString() const
{
    return m_transport && !m_unreadable ? m_transport->errorString() : m_error;
}

OpenFailure AddressedSerialPort::openFailure() const
{
    if (m_unreadable)
        return OpenFailure::Other;
    return m_transport ? m_transport->openFailure() : OpenFailure::None;
}

int AddressedSerialPort::replyTimeout() const
{
    return m_transport ? m_transport->replyTimeout() : SerialPort::replyTimeout();
}

int AddressedSerialPort::guardTime() const
{
    return m_transport ? m_transport->guardTime() : SerialPort::guardTime();
}

int AddressedSerialPort::roundTrip() const
{
    return m_transport ? m_transport->roundTrip() : SerialPort::roundTrip();
}

void AddressedSerialPort::addRoundTripSample(int milliseconds)
{
    if (m_transport)
        m_transport->addRoundTripSample(milliseconds);
}

QString AddressedSerialPort::unknownCertificate() const
{
    return m_transport ? m_transport->unknownCertificate() : QString();
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
