#pragma once

#include "link/LinkTimer.h"

#include <QtGlobal>

class VirtualClock;

// A LinkTimer on a VirtualClock.
class FakeLinkTimer : public LinkTimer
{
public:
    explicit FakeLinkTimer(VirtualClock &clock);
    ~FakeLinkTimer() override;

    void setInterval(int milliseconds) override;
    int interval() const override { return m_interval; }
    void setEnabled(bool enabled) override;
    bool isEnabled() const override { return m_enabled; }

    qint64 dueAt() const { return m_dueAt; }
    // Called by the clock when the timer falls due.
    void fire();

private:
    VirtualClock &m_clock;
    int m_interval = 0;
    bool m_enabled = false;
    qint64 m_dueAt = 0;
};
