#pragma once

#include <QString>

struct PortAddress;
struct PortInfo;

// How the port dialog names ports and what is wrong with a typed address,
// in the operator's language.
namespace PortWords {

// A port present now: its system name, and on a second line what the
// system knows of it (description, manufacturer, serial number) if anything.
QString listed(const PortInfo &port);

// Why `address` (as typed, invalid) cannot be used, with an example of
// what would be.
QString problem(const PortAddress &address, const QString &typed);

} // namespace PortWords
