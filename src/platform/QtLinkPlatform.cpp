#include "QtLinkPlatform.h"

#include "platform/QtLinkTimer.h"
#include "platform/AddressedSerialPort.h"

std::unique_ptr<SerialPort> QtLinkPlatform::createPort()
{
    return std::make_unique<AddressedSerialPort>();
}

std::unique_ptr<LinkTimer> QtLinkPlatform::createTimer()
{
    return std::make_unique<QtLinkTimer>();
}
