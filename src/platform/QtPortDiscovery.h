#pragma once

#include "PortDiscovery.h"

// The ports QSerialPortInfo reports, each with its stable name from the
// by-id folder where one links to it.
class QtPortDiscovery : public PortDiscovery
{
public:
    explicit QtPortDiscovery(const QString &byIdFolder = QStringLiteral("/dev/serial/by-id"));

    QList<PortInfo> ports() const override;

    // Adds the by-id names: a link in `byIdFolder` whose target is a listed
    // port's device names it. Split out so it can be checked on a folder of
    // links made for the purpose.
    static void addStableNames(QList<PortInfo> &ports, const QString &byIdFolder);

private:
    QString m_byIdFolder;
};
