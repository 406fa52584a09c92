#include "QtLinkPlatform.h"

#include "platform/QtLinkTimer.h"
#include "platform/AddressedSerialPort.h"
#include "platform/SshChannel.h"

std::unique_ptr<SerialPort> QtLinkPlatform::createPort()
{
    return std::make_unique<AddressedSerialPort>();
}

std::unique_ptr<LinkTimer> QtLinkPlatform::createTimer()
{
    return std::make_unique<QtLinkTimer>();
}

std::unique_ptr<FarChannel> QtLinkPlatform::createFarChannel()
{
    return std::make_unique<SshChannel>();
}
