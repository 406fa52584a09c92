#pragma once

#include "platform/PortDiscovery.h"

// A port list the test sets, changed at will to play plugging and pulling
// adapters.
class ScriptedPortDiscovery : public PortDiscovery
{
public:
    QList<PortInfo> ports() const override
    {
        ++calls;
        return present;
    }

    QList<PortInfo> present;
    mutable int calls = 0;

    // An on-board port and a USB adapter, as a typical Linux machine lists them.
    static QList<PortInfo> typical()
    {
        PortInfo onboard;
        onboard.systemName = QStringLiteral("/dev/ttyS0");
        PortInfo usb;
        usb.systemName = QStringLiteral("/dev/ttyUSB0");
        usb.description = QStringLiteral("FT232R USB UART");
        usb.manufacturer = QStringLiteral("FTDI");
        usb.serialNumber = QStringLiteral("A6008isP");
        usb.vendorId = 0x0403;
        usb.productId = 0x6001;
        usb.byId = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A6008isP-if00-port0");
        return {onboard, usb};
    }
};
