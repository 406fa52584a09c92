#pragma once

#include "link/LinkPlatform.h"

#include "platform/QtEventPump.h"

// The real port (a local device, or a network serial server by its address),
// QTimer timers, Qt's event loop and the user's ssh to a far computer.
class QtLinkPlatform : public LinkPlatform
{
public:
    std::unique_ptr<SerialPort> createPort() override;
    std::unique_ptr<LinkTimer> createTimer() override;
    EventPump &eventPump() override { return m_pump; }
    std::unique_ptr<FarChannel> createFarChannel() override;

private:
    QtEventPump m_pump;
};
