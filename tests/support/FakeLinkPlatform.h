#pragma once

#include "FakeSerialPort.h"
#include "ScriptedDevice.h"
#include "VirtualClock.h"

#include "link/EventPump.h"
#include "link/LinkPlatform.h"

#include <memory>
#include <vector>

// The communication window's port and timers in virtual time: every port a
// window makes is answered by a scripted title generator (channel 3 shown,
// horizontal position 8, vertical 0, white level 90 %, black 10 %, video
// lost on inputs 2, 4, 5 and 7).
class FakeLinkPlatform : public LinkPlatform
{
public:
    std::unique_ptr<SerialPort> createPort() override;
    std::unique_ptr<LinkTimer> createTimer() override;
    EventPump &eventPump() override { return m_pump; }

    VirtualClock clock;
    // Applied to ports made from now on.
    bool silent = false;
    bool openFails = false;
    // The port of the newest window (owned by the window) and its device.
    FakeSerialPort *port = nullptr;
    ScriptedDevice *device = nullptr;

private:
    struct IdlePump : EventPump
    {
        void processOnce() override {}
    } m_pump;
    // Devices outlive their ports: a test never advances the clock past a
    // destroyed window with a reply still in flight.
    std::vector<std::unique_ptr<ScriptedDevice>> m_devices;
};
