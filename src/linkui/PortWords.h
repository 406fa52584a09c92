#pragma once

#include <QString>

struct PortInfo;

// How the port dialog names ports, in the operator's language (what is
// wrong with a typed address: PortAddressWords).
namespace PortWords {

// A port present now: its system name, and on a second line what the
// system knows of it (description, manufacturer, serial number) if anything.
QString listed(const PortInfo &port);

} // namespace PortWords
