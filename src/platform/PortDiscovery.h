#pragma once

#include <QList>
#include <QString>

#include <optional>

// A serial port present on this machine, in the words the system has for it.
struct PortInfo
{
    QString systemName;   // what opens it: /dev/ttyUSB0, COM12
    QString description;  // e.g. "FT232R USB UART"
    QString manufacturer; // e.g. "FTDI"
    QString serialNumber;
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;
    QString byId; // Linux: the /dev/serial/by-id link to it, which survives replugging

    bool operator==(const PortInfo &) const = default;
};

// Lists the serial ports present now. The real one asks the system
// (QtPortDiscovery); tests script the list.
class PortDiscovery
{
public:
    virtual ~PortDiscovery() = default;
    virtual QList<PortInfo> ports() const = 0;
};
