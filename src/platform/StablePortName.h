#pragma once

#include "PortDiscovery.h"

// How a chosen port is remembered. A USB adapter gets a new number when it
// is replugged (ttyUSB0 becomes ttyUSB1), so the name kept is its by-id
// link where one exists; every other address is kept as given.
namespace StablePortName {

// The name to keep for `address` (a device, as listed or typed, or a
// network address).
QString toRemember(const QString &address, const QList<PortInfo> &present);

// The listed port a remembered name stands for now, by its device or its
// by-id link; nullopt when it is not present (or not a listed device).
std::optional<PortInfo> presentPort(const QString &remembered, const QList<PortInfo> &present);

} // namespace StablePortName
