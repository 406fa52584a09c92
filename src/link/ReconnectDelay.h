#pragma once

#include <algorithm>

// How long a watch waits before asking a unit that stopped answering again:
// soon at first, since a device server restarts in a moment, then half as
// often each time, never more than MaxMs apart, so a unit back after a
// longer outage is seen within seconds without the line being hammered.
class ReconnectDelay
{
public:
    static constexpr int FirstMs = 500;
    static constexpr int MaxMs = 5000;

    // The wait before the next try; each one doubles the one after.
    int next()
    {
        const int delay = m_next;
        m_next = std::min(MaxMs, m_next * 2);
        return delay;
    }
    // The unit answered: the next outage starts from the first wait again.
    void reset() { m_next = FirstMs; }

private:
    int m_next = FirstMs;
};
