#pragma once

#include "link/LinkPlatform.h"

#include "platform/QtEventPump.h"

// The real port (a local device, or a network serial server by its address),
// QTimer timers and Qt's event loop.
class QtLinkPlatform : public LinkPlatform
{
public:
    std::unique_ptr<SerialPort> createPort() override;
    std::unique_ptr<LinkTimer> createTimer() override;
    EventPump &eventPump() override { return m_pump; }

private:
    QtEventPump m_pump;
};
