#pragma once

#include <QString>

// Which device a port number stands for.
namespace SerialPortNames {

// Port n (1..8): the environment variable ORVEX_COM<n> when it is set (a USB
// adapter such as /dev/ttyUSB0, or a simulator's pseudo-terminal), otherwise
// the platform's n-th serial port (/dev/ttyS<n-1> on Linux, COM<n> on
// Windows).
QString deviceForPort(int number);

// A --port argument: a number 1..8 resolved as above, anything else taken
// as a device path. Empty for a number outside 1..8.
QString deviceForArgument(const QString &argument);

} // namespace SerialPortNames
