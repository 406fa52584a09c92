#pragma once

#include "FarChannel.h"

#include <memory>

class EventPump;
class LinkTimer;
class SerialPort;

// Where the communication window gets its serial port, its two timers, the
// event pump and the pipe to a far computer. The application passes the Qt
// ones; tests pass fakes that run in virtual time.
class LinkPlatform
{
public:
    virtual ~LinkPlatform() = default;

    virtual std::unique_ptr<SerialPort> createPort() = 0;
    virtual std::unique_ptr<LinkTimer> createTimer() = 0;
    virtual EventPump &eventPump() = 0;
    // The pipe to a far computer's engine (an ssh:// address); none where
    // the platform cannot reach one.
    virtual std::unique_ptr<FarChannel> createFarChannel() { return nullptr; }
};
