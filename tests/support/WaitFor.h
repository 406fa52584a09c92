#pragma once

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

// Runs real Qt events until `done` holds, looking every few milliseconds;
// false when the deadline passed first. The deadline only bounds a test
// that has already failed, so it is generous.
inline bool waitFor(const std::function<bool()> &done, int deadlineMs = 10000)
{
    const QDeadlineTimer deadline(deadlineMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}
