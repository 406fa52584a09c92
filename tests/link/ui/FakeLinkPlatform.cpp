#include "FakeLinkPlatform.h"

#include "FakeLinkTimer.h"

std::unique_ptr<SerialPort> FakeLinkPlatform::createPort()
{
    auto made = std::make_unique<FakeSerialPort>(clock, device, openFails);
    port = made.get();
    return made;
}

std::unique_ptr<LinkTimer> FakeLinkPlatform::createTimer()
{
    return std::make_unique<FakeLinkTimer>(clock);
}

QByteArray answeringDevice(const QByteArray &frame)
{
    if (frame == "CS?\r")
        return QByteArray("\x03\x0d", 2);
    if (frame == "HP?\r")
        return QByteArray("\x04\x00\x0d", 3);
    if (frame == "VP?\r")
        return QByteArray("\x01\x06\x0d", 3);
    if (frame == "BS01,?\r")
        return QByteArray("\x02\x01\x0d", 3);
    if (frame == "VL\r")
        return QByteArray("\x05\x0a\x0d", 3);
    return QByteArray("\x06\x0d", 2);
}
