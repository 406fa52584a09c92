#pragma once

#include "platform/PortDiscovery.h"

#include <QByteArray>
#include <QString>

// What `orvex ports` prints for the ports present.
namespace PortListing {

// One line per port: the name --port takes, then what is known of it.
QString text(const QList<PortInfo> &ports);
// A JSON array of objects: port, description, manufacturer, serial, vid,
// pid (four hex digits, as lsusb shows them) and by_id; null where unknown.
QByteArray json(const QList<PortInfo> &ports);

} // namespace PortListing
