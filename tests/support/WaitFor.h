#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

// Runs real Qt events until `done` holds; false when the deadline passed.
inline bool waitFor(const std::function<bool()> &done, int deadlineMs = 2000)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.elapsed() > deadlineMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}
