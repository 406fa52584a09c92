#pragma once

#include "FakeSerialPort.h"
#include "VirtualClock.h"

#include "link/EventPump.h"
#include "link/ui/LinkPlatform.h"

// Fakes for the communication window: ports and timers on one virtual
// clock, and an event pump that does nothing.
class FakeLinkPlatform : public LinkPlatform
{
public:
    std::unique_ptr<SerialPort> createPort() override;
    std::unique_ptr<LinkTimer> createTimer() override;
    EventPump &eventPump() override { return m_pump; }

    VirtualClock clock;
    // How the device answers; applies to ports made from now on.
    FakeSerialPort::Device device;
    bool openFails = false;
    // The port of the newest window (owned by it).
    FakeSerialPort *port = nullptr;

private:
    struct IdlePump : EventPump
    {
        void processOnce() override {}
    } m_pump;
};

// A title generator that answers every frame: channel 3 shown, horizontal
// position 8, vertical 0, white level 90 %, black 10 %, video lost on
// inputs 2, 4, 5 and 7.
QByteArray answeringDevice(const QByteArray &frame);
