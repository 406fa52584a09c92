#include "DeviceLinks.h"

#include "PortAddress.h"
#include "RemoteLink.h"

#include "link/FarChannel.h"
#include "link/LinkEngine.h"
#include "link/LinkPlatform.h"

namespace DeviceLinks {

bool isFar(const QString &address)
{
    return PortAddress::parse(address).isFar();
}

std::unique_ptr<DeviceLink> make(TitleData &data, const QString &address, LinkPlatform &platform, SerialPort &port,
                                 LinkTimer &chReqTimer, LinkTimer &rxTimer, EventPump &pump, LinkView &view)
{
    if (isFar(address))
        return std::make_unique<RemoteLink>(data, platform.createFarChannel(), PortAddress::parse(address).toString(),
                                            view, &rxTimer);
    auto engine = std::make_unique<LinkEngine>(data, port, chReqTimer, rxTimer, pump, view);
    if (!address.isEmpty())
        engine->setPortAddress(address);
    return engine;
}

} // namespace DeviceLinks
