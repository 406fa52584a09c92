#pragma once

#include "link/SerialPort.h"

#include <QList>

// Qt 6 no longer reports framing, parity, overrun or break conditions. On
// Linux the serial driver counts them (TIOCGICOUNT); comparing the counters
// between reads tells which of them happened. Devices without counters
// (pseudo-terminals, most USB adapters) simply report nothing.
class SerialErrorCounters
{
public:
    // Takes the current counters as the starting point; false when the
    // device has none.
    bool reset(int fd);
    // The line errors counted since the last call, one event per kind.
    QList<CommEvent> newErrors(int fd);

    struct Counts
    {
        quint64 frame = 0, parity = 0, overrun = 0, brk = 0, bufferOverrun = 0;
    };
    // Events for the difference between two snapshots; split out so the
    // comparison can be checked without a serial driver.
    static QList<CommEvent> difference(const Counts &before, const Counts &after);

private:
    static bool read(int fd, Counts &counts);

    Counts m_last;
    bool m_available = false;
};
