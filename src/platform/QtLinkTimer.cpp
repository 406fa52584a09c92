#include "QtLinkTimer.h"

QtLinkTimer::QtLinkTimer(QObject *parent) : QObject(parent)
{
    // The reply time-out and the poll are judged in milliseconds.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
}

void QtLinkTimer::setInterval(int milliseconds)
{
    m_timer.setInterval(milliseconds);
}

int QtLinkTimer::interval() const
{
    return m_timer.interval();
}

void QtLinkTimer::setEnabled(bool enabled)
{
    if (enabled && !m_timer.isActive())
        m_timer.start();
    else if (!enabled)
        m_timer.stop();
}

bool QtLinkTimer::isEnabled() const
{
    return m_timer.isActive();
}

int QtLinkTimer::elapsed() const
{
    const int remaining = m_timer.remainingTime();
    return remaining < 0 ? 0 : m_timer.interval() - remaining;
}
