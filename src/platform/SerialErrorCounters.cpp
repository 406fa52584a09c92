#include "SerialErrorCounters.h"

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

bool SerialErrorCounters::read(int fd, Counts &counts)
{
#if defined(Q_OS_LINUX) && defined(TIOCGICOUNT)
    serial_icounter_struct raw{};
    if (fd < 0 || ::ioctl(fd, TIOCGICOUNT, &raw) != 0)
        return false;
    counts.frame = quint64(raw.frame);
    counts.parity = quint64(raw.parity);
    counts.overrun = quint64(raw.overrun);
    counts.brk = quint64(raw.brk);
    counts.bufferOverrun = quint64(raw.buf_overrun);
    return true;
#else
    (void)fd;
    (void)counts;
    return false;
#endif
}

bool SerialErrorCounters::reset(int fd)
{
    m_last = {};
    m_available = read(fd, m_last);
    return m_available;
}

QList<CommEvent> SerialErrorCounters::newErrors(int fd)
{
    if (!m_available)
        return {};
    Counts now;
    if (!read(fd, now))
        return {};
    const QList<CommEvent> events = difference(m_last, now);
    m_last = now;
    return events;
}

QList<CommEvent> SerialErrorCounters::difference(const Counts &before, const Counts &after)
{
    QList<CommEvent> events;
    if (after.brk != before.brk)
        events << CommEvent::Break;
    if (after.frame != before.frame)
        events << CommEvent::Framing;
    if (after.overrun != before.overrun)
        events << CommEvent::Overrun;
    if (after.bufferOverrun != before.bufferOverrun)
        events << CommEvent::ReceiveOverflow;
    if (after.parity != before.parity)
        events << CommEvent::ReceiveParity;
    return events;
}
