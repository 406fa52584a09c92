#include "StablePortName.h"

namespace StablePortName {

QString toRemember(const QString &address, const QList<PortInfo> &present)
{
    const std::optional<PortInfo> port = presentPort(address, present);
    return port && !port->byId.isEmpty() ? port->byId : address;
}

std::optional<PortInfo> presentPort(const QString &remembered, const QList<PortInfo> &present)
{
    if (remembered.isEmpty())
        return std::nullopt;
    for (const PortInfo &port : present) {
        if (port.systemName == remembered || (!port.byId.isEmpty() && port.byId == remembered))
            return port;
    }
    return std::nullopt;
}

} // namespace StablePortName
