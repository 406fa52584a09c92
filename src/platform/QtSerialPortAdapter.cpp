#include "QtSerialPortAdapter.h"

#include "netserial/SerialPortNames.h"

#include <QFile>
#include <QFileInfo>

#include <unistd.h>

QtSerialPortAdapter::QtSerialPortAdapter(QObject *parent) : QObject(parent)
{
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialPortAdapter::onReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPortAdapter::onError);
}

QtSerialPortAdapter::~QtSerialPortAdapter()
{
    m_port.disconnect(this);
    m_port.close();
}

void QtSerialPortAdapter::configure(const LineSettings &settings)
{
    m_settings = settings;
}

void QtSerialPortAdapter::setPortNumber(int number)
{
    m_path = SerialPortNames::deviceForPort(number);
}

void QtSerialPortAdapter::setDevicePath(const QString &path)
{
    m_path = path;
}

QString QtSerialPortAdapter::devicePath() const
{
    return m_path;
}

static QSerialPort::Parity parityFor(char parity)
{
    switch (parity) {
    case 'E': return QSerialPort::EvenParity;
    case 'O': return QSerialPort::OddParity;
    case 'M': return QSerialPort::MarkParity;
    case 'S': return QSerialPort::SpaceParity;
    default: return QSerialPort::NoParity;
    }
}

bool QtSerialPortAdapter::open()
{
    if (m_path.isEmpty()) {
        m_error = QStringLiteral("no serial port chosen");
        m_failure = OpenFailure::Other;
        return false;
    }
    // Errors raised while opening are the open's result, not line events.
    m_opening = true;
    m_port.setPortName(m_path);
    m_port.setBaudRate(m_settings.baud);
    m_port.setDataBits(QSerialPort::DataBits(m_settings.dataBits));
    m_port.setParity(parityFor(m_settings.parity));
    m_port.setStopBits(m_settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    m_port.setFlowControl(m_settings.flowControl ? QSerialPort::HardwareControl : QSerialPort::NoFlowControl);
    const bool ok = m_port.open(QIODevice::ReadWrite);
    m_failure = ok ? OpenFailure::None : failureFor(m_port.error(), m_path);
    if (ok) {
        // Pseudo-terminals have no modem lines; failing to drop RTS there
        // is harmless.
        m_port.setRequestToSend(m_settings.rts);
        m_port.clearError();
        m_counters.reset(int(m_port.handle()));
        m_error.clear();
    } else {
        m_error = m_port.errorString();
        m_port.clearError();
    }
    m_opening = false;
    return ok;
}

void QtSerialPortAdapter::close()
{
    if (m_port.isOpen())
        m_port.close();
}

bool QtSerialPortAdapter::isOpen() const
{
    return m_port.isOpen();
}

QString QtSerialPortAdapter::errorString() const
{
    return m_error;
}

OpenFailure QtSerialPortAdapter::openFailure() const
{
    return m_failure;
}

OpenFailure QtSerialPortAdapter::failureFor(QSerialPort::SerialPortError error, bool exists, bool accessible)
{
    if (!exists || error == QSerialPort::DeviceNotFoundError)
        return OpenFailure::Missing;
    switch (error) {
    case QSerialPort::PermissionError:
        // Qt says "permission" both for a device it may not open and for
        // one that another program holds.
        return accessible ? OpenFailure::Busy : OpenFailure::Denied;
    case QSerialPort::OpenError: return OpenFailure::Busy; // already open here
    default: return OpenFailure::Other;
    }
}

OpenFailure QtSerialPortAdapter::failureFor(QSerialPort::SerialPortError error, const QString &path)
{
    const QByteArray file = QFile::encodeName(path);
    return failureFor(error, QFileInfo::exists(path), ::access(file.constData(), R_OK | W_OK) == 0);
}

void QtSerialPortAdapter::write(const QByteArray &bytes)
{
    // A line that went while events ran takes the frame nowhere, like a
    // cable pulled an instant later; the reply time-out deals with it.
    if (m_port.isOpen())
        m_port.write(bytes);
}

QByteArray QtSerialPortAdapter::readAll()
{
    return m_port.isOpen() ? m_port.readAll() : QByteArray();
}

void QtSerialPortAdapter::discardInput()
{
    if (m_port.isOpen())
        m_port.clear(QSerialPort::Input);
}

void QtSerialPortAdapter::reportCountedErrors()
{
    for (CommEvent event : m_counters.newErrors(int(m_port.handle())))
        notify(event);
}

void QtSerialPortAdapter::onReadyRead()
{
    reportCountedErrors();
    notify(CommEvent::DataReceived);
}

CommEvent QtSerialPortAdapter::eventFor(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::TimeoutError: // only from the blocking waits, never used
        return CommEvent::DataReceived;
    case QSerialPort::UnsupportedOperationError: // settings the driver rejects
        return CommEvent::ConfigUnreadable;
    case QSerialPort::WriteError: return CommEvent::TransmitFull;
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::PermissionError:
    case QSerialPort::OpenError:
    case QSerialPort::NotOpenError:
    case QSerialPort::ReadError:
    case QSerialPort::ResourceError:
    case QSerialPort::UnknownError: break;
    }
    return CommEvent::Unknown;
}

bool QtSerialPortAdapter::meansLineGone(QSerialPort::SerialPortError error)
{
    switch (error) {
    // A read fails only at end of file (a hung-up line, a pseudo-terminal
    // whose other end closed) or when the device has gone; either way
    // every further read fails the same.
    case QSerialPort::ReadError:
    case QSerialPort::ResourceError:
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::NotOpenError: return true;
    default: return false;
    }
}

void QtSerialPortAdapter::onError(QSerialPort::SerialPortError error)
{
    if (m_opening || error == QSerialPort::NoError)
        return;
    reportCountedErrors();
    m_port.clearError();
    if (meansLineGone(error)) {
        // Closing stops Qt from repeating the error on every notification.
        // The exchange then ends the usual way: the reply times out and the
        // resend's open says what is wrong, as one message.
        if (m_port.isOpen())
            m_port.close();
        return;
    }
    const CommEvent event = eventFor(error);
    if (event != CommEvent::DataReceived)
        notify(event);
}
