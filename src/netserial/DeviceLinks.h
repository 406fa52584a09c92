#pragma once

#include "link/DeviceLink.h"

#include <memory>

class EventPump;
class LinkPlatform;
class LinkTimer;
class LinkView;
class SerialPort;
struct TitleData;

// The link an address needs: a RemoteLink to a far computer's engine for
// ssh:// (`rxTimer` bounding its wait for the far side's hello), otherwise a LinkEngine on this computer's `port` (given the
// address) with the timers given. The front end keeps the port and timers
// alive as long as the link, as it does for an engine.
namespace DeviceLinks {

bool isFar(const QString &address);

std::unique_ptr<DeviceLink> make(TitleData &data, const QString &address, LinkPlatform &platform, SerialPort &port,
                                 LinkTimer &chReqTimer, LinkTimer &rxTimer, EventPump &pump, LinkView &view);

} // namespace DeviceLinks
