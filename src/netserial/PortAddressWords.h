#pragma once

#include <QString>

struct PortAddress;

// What is wrong with an address, in the operator's language, for every
// window that takes one (the port dialog, the site window's schedule).
namespace PortAddressWords {

// Why `address` (as typed, invalid) cannot be used, with an example of
// what would be.
QString problem(const PortAddress &address, const QString &typed);

// Why the device `address` names can be no serial port: a folder, a
// regular file, and with `mustExist` nothing at all; empty when it may be
// one (or is no device path).
QString deviceProblem(const PortAddress &address, bool mustExist);

} // namespace PortAddressWords
