#include "PortWords.h"

#include "platform/PortDiscovery.h"

#include <QStringList>

namespace PortWords {

QString listed(const PortInfo &port)
{
    QStringList details;
    if (!port.manufacturer.isEmpty())
        details << port.manufacturer;
    if (!port.serialNumber.isEmpty())
        details << QStringLiteral("シリアル番号 %1").arg(port.serialNumber);
    QString about = port.description;
    if (!details.isEmpty())
        about += QStringLiteral("（%1）").arg(details.join(QStringLiteral("、")));
    // The name first, as it is typed; what it is on a line of its own.
    return about.isEmpty() ? port.systemName : port.systemName + QStringLiteral("\n    ") + about;
}

} // namespace PortWords
