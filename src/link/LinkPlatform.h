#pragma once

#include <memory>

class EventPump;
class LinkTimer;
class SerialPort;

// Where the communication window gets its serial port, its two timers and
// the event pump. The application passes the Qt ones; tests pass fakes that
// run in virtual time.
class LinkPlatform
{
public:
    virtual ~LinkPlatform() = default;

    virtual std::unique_ptr<SerialPort> createPort() = 0;
    virtual std::unique_ptr<LinkTimer> createTimer() = 0;
    virtual EventPump &eventPump() = 0;
};
