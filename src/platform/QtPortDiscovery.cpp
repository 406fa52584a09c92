#include "QtPortDiscovery.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

QtPortDiscovery::QtPortDiscovery(const QString &byIdFolder) : m_byIdFolder(byIdFolder) {}

QList<PortInfo> QtPortDiscovery::ports() const
{
    QList<PortInfo> found;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        PortInfo port;
        port.systemName = info.systemLocation();
        port.description = info.description();
        port.manufacturer = info.manufacturer();
        port.serialNumber = info.serialNumber();
        if (info.hasVendorIdentifier())
            port.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier())
            port.productId = info.productIdentifier();
        found << port;
    }
    addStableNames(found, m_byIdFolder);
    return found;
}

void QtPortDiscovery::addStableNames(QList<PortInfo> &ports, const QString &byIdFolder)
{
    const QDir folder(byIdFolder);
    if (byIdFolder.isEmpty() || !folder.exists())
        return;
    const QFileInfoList links = folder.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &link : links) {
        if (!link.isSymLink())
            continue;
        const QString target = link.canonicalFilePath();
        for (PortInfo &port : ports) {
            if (port.byId.isEmpty() && QFileInfo(port.systemName).canonicalFilePath() == target)
                port.byId = link.absoluteFilePath();
        }
    }
}
