#include "FakeLinkPlatform.h"

std::unique_ptr<SerialPort> FakeLinkPlatform::createPort()
{
    auto made = std::make_unique<FakeSerialPort>();
    port = made.get();
    if (openFails)
        port->failOpens = 1000;
    m_devices.push_back(std::make_unique<ScriptedDevice>(*port, clock));
    device = m_devices.back().get();
    device->silent = silent;
    return made;
}

std::unique_ptr<LinkTimer> FakeLinkPlatform::createTimer()
{
    return std::make_unique<VirtualTimer>(clock);
}
