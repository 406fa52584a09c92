#pragma once

#include <functional>

// A single-shot-or-repeating timer as the link engine uses it: an interval,
// an enabled flag and a tick. Enabling a disabled timer starts a fresh
// interval; changing the interval of a running timer restarts it. The real
// one wraps QTimer (platform/QtLinkTimer); tests use a virtual clock.
class LinkTimer
{
public:
    using TickHandler = std::function<void()>;

    virtual ~LinkTimer() = default;

    virtual void setInterval(int milliseconds) = 0;
    virtual int interval() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
    // Milliseconds since the running interval started (0 when disabled):
    // how long a reply took, read off the reply time-out.
    virtual int elapsed() const = 0;

    // A timer keeps ticking every interval while it stays enabled.
    void setTickHandler(TickHandler handler) { m_handler = std::move(handler); }

protected:
    void tick()
    {
        if (m_handler)
            m_handler();
    }

private:
    TickHandler m_handler;
};
