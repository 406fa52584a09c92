#pragma once

#include "link/LinkTimer.h"

#include <algorithm>
#include <functional>
#include <list>
#include <vector>

class VirtualTimer;

// Virtual milliseconds for the link's timers and the fake device's replies:
// nothing waits, and every deadline is hit exactly.
class VirtualClock
{
public:
    long long now() const { return m_now; }

    void schedule(long long delay, std::function<void()> action)
    {
        m_actions.push_back({m_now + delay, m_seq++, std::move(action)});
    }

    // Runs everything due up to now + ms, in time order.
    void advance(long long ms);
    // Runs until nothing is left to do before `limit` ms from now.
    void runFor(long long limit) { advance(limit); }

    void add(VirtualTimer *timer) { m_timers.push_back(timer); }
    void remove(VirtualTimer *timer) { std::erase(m_timers, timer); }

private:
    struct Action
    {
        long long due;
        long long seq;
        std::function<void()> run;
    };

    long long m_now = 0;
    long long m_seq = 0;
    std::list<Action> m_actions;
    std::vector<VirtualTimer *> m_timers;
};

class VirtualTimer : public LinkTimer
{
public:
    explicit VirtualTimer(VirtualClock &clock) : m_clock(clock) { clock.add(this); }
    ~VirtualTimer() override { m_clock.remove(this); }

    void setInterval(int ms) override
    {
        m_interval = ms;
        if (m_enabled)
            m_due = m_clock.now() + ms;
    }
    int interval() const override { return m_interval; }
    void setEnabled(bool enabled) override
    {
        if (enabled && !m_enabled)
            m_due = m_clock.now() + m_interval;
        m_enabled = enabled;
    }
    bool isEnabled() const override { return m_enabled; }
    int elapsed() const override { return m_enabled ? int(m_clock.now() - (m_due - m_interval)) : 0; }

    long long due() const { return m_due; }
    void fire()
    {
        m_due = m_clock.now() + m_interval;
        ++ticks;
        tick();
    }

    int ticks = 0;

private:
    VirtualClock &m_clock;
    int m_interval = 0;
    bool m_enabled = false;
    long long m_due = 0;
};

inline void VirtualClock::advance(long long ms)
{
    const long long end = m_now + ms;
    for (;;) {
        VirtualTimer *timer = nullptr;
        for (VirtualTimer *t : m_timers) {
            if (t->isEnabled() && (!timer || t->due() < timer->due()))
                timer = t;
        }
        auto action = m_actions.end();
        for (auto it = m_actions.begin(); it != m_actions.end(); ++it) {
            if (action == m_actions.end() || it->due < action->due)
                action = it;
        }
        // Device actions due at the same moment as a timer come first.
        const bool actionDue = action != m_actions.end() && action->due <= end;
        const bool timerDue = timer && timer->due() <= end;
        if (actionDue && (!timerDue || action->due <= timer->due())) {
            m_now = std::max(m_now, action->due);
            auto run = std::move(action->run);
            m_actions.erase(action);
            run();
        } else if (timerDue) {
            m_now = std::max(m_now, timer->due());
            timer->fire();
        } else {
            break;
        }
    }
    m_now = end;
}
