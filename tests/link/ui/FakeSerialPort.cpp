#include "FakeSerialPort.h"

#include "VirtualClock.h"

FakeSerialPort::FakeSerialPort(VirtualClock &clock, Device device, bool openFails)
    : m_clock(clock), m_device(std::move(device)), m_openFails(openFails)
{
}

FakeSerialPort::~FakeSerialPort()
{
    *m_alive = false;
}

QString FakeSerialPort::devicePath() const
{
    return m_path.isEmpty() ? QStringLiteral("fake%1").arg(m_portNumber) : m_path;
}

bool FakeSerialPort::open()
{
    if (m_openFails)
        return false;
    m_open = true;
    ++m_openCount;
    return true;
}

void FakeSerialPort::write(const QByteArray &bytes)
{
    m_frames.append(bytes);
    const QByteArray reply = m_device ? m_device(bytes) : QByteArray();
    if (reply.isEmpty())
        return;
    std::weak_ptr<bool> alive = m_alive;
    m_clock.schedule(ReplyDelay, [this, alive, reply] {
        // A closed port hears nothing.
        if (alive.expired() || !m_open)
            return;
        m_input += reply;
        notify(CommEvent::DataReceived);
    });
}

QByteArray FakeSerialPort::readAll()
{
    QByteArray bytes;
    bytes.swap(m_input);
    return bytes;
}
