#include "VirtualClock.h"

#include "FakeLinkTimer.h"

#include <algorithm>

void VirtualClock::schedule(qint64 delay, std::function<void()> action)
{
    m_actions.emplace(m_now + delay, std::move(action));
}

qint64 VirtualClock::nextDue(qint64 until) const
{
    qint64 next = -1;
    if (!m_actions.empty() && m_actions.begin()->first <= until)
        next = m_actions.begin()->first;
    for (const FakeLinkTimer *timer : m_timers)
        if (timer->isEnabled() && timer->dueAt() <= until && (next < 0 || timer->dueAt() < next))
            next = timer->dueAt();
    return next;
}

void VirtualClock::fireAt(qint64 moment)
{
    m_now = moment;
    const auto action = m_actions.find(moment);
    if (action != m_actions.end()) {
        auto run = std::move(action->second);
        m_actions.erase(action);
        run();
        return;
    }
    // Copy: a tick may create or destroy timers.
    const std::vector<FakeLinkTimer *> timers = m_timers;
    for (FakeLinkTimer *timer : timers) {
        if (std::find(m_timers.begin(), m_timers.end(), timer) == m_timers.end())
            continue;
        if (timer->isEnabled() && timer->dueAt() == moment) {
            timer->fire();
            return;
        }
    }
}

void VirtualClock::advance(qint64 milliseconds)
{
    const qint64 until = m_now + milliseconds;
    for (qint64 next = nextDue(until); next >= 0; next = nextDue(until))
        fireAt(next);
    m_now = until;
}

bool VirtualClock::advanceUntil(const std::function<bool()> &done, qint64 limit)
{
    const qint64 until = m_now + limit;
    while (!done()) {
        const qint64 next = nextDue(until);
        if (next < 0) {
            m_now = until;
            return false;
        }
        fireAt(next);
    }
    return true;
}

void VirtualClock::attach(FakeLinkTimer *timer)
{
    m_timers.push_back(timer);
}

void VirtualClock::detach(FakeLinkTimer *timer)
{
    m_timers.erase(std::remove(m_timers.begin(), m_timers.end(), timer), m_timers.end());
}
