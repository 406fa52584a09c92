#include "FakeLinkTimer.h"

#include "VirtualClock.h"

FakeLinkTimer::FakeLinkTimer(VirtualClock &clock) : m_clock(clock)
{
    m_clock.attach(this);
}

FakeLinkTimer::~FakeLinkTimer()
{
    m_clock.detach(this);
}

void FakeLinkTimer::setInterval(int milliseconds)
{
    m_interval = milliseconds;
    if (m_enabled)
        m_dueAt = m_clock.now() + m_interval;
}

void FakeLinkTimer::setEnabled(bool enabled)
{
    if (enabled && !m_enabled)
        m_dueAt = m_clock.now() + m_interval;
    m_enabled = enabled;
}

void FakeLinkTimer::fire()
{
    m_dueAt = m_clock.now() + m_interval;
    tick();
}
