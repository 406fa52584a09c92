#pragma once

#include <QtGlobal>

#include <functional>
#include <map>
#include <vector>

class FakeLinkTimer;

// Virtual time for the link: timers and scheduled deliveries fire in time
// order as a test advances the clock, so intervals are exact and instant.
class VirtualClock
{
public:
    qint64 now() const { return m_now; }

    // Runs `action` `delay` milliseconds from now.
    void schedule(qint64 delay, std::function<void()> action);
    // Moves time forward, firing everything that falls due on the way.
    void advance(qint64 milliseconds);
    // Moves time forward until `done` holds or `limit` ms have passed;
    // true when `done` held.
    bool advanceUntil(const std::function<bool()> &done, qint64 limit);

    void attach(FakeLinkTimer *timer);
    void detach(FakeLinkTimer *timer);

private:
    // The next due moment at or before `until`, or -1.
    qint64 nextDue(qint64 until) const;
    void fireAt(qint64 moment);

    qint64 m_now = 0;
    std::multimap<qint64, std::function<void()>> m_actions;
    std::vector<FakeLinkTimer *> m_timers;
};
