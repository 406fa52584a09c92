#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Turns Ctrl+C (SIGINT) and SIGTERM into a call on the event loop, so a
// write stopped by the operator still ends as a write: recorded in the
// transfer log with what completed. Signals are caught only while the
// watch exists; without it they end the program as usual.
class InterruptWatch : public QObject
{
public:
    explicit InterruptWatch(std::function<void()> onInterrupt);
    ~InterruptWatch() override;

    InterruptWatch(const InterruptWatch &) = delete;
    InterruptWatch &operator=(const InterruptWatch &) = delete;

    bool interrupted() const { return m_interrupted; }
    // The exit status a shell gives a program ended by the signal caught:
    // 130 for Ctrl+C, 143 for SIGTERM.
    int exitCode() const { return 128 + m_signal; }

private:
    std::function<void()> m_onInterrupt;
    QSocketNotifier *m_notifier = nullptr;
    bool m_interrupted = false;
    int m_signal = 0;
};
