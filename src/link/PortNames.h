#pragma once
// Maps the port numbers 1..4 to device names.
// On Linux: TARVIK_Q5_PORTS="dev1:dev2:dev3:dev4" (an empty entry: no device there),
// else the first four existing devices among /dev/ttyUSB0-9, /dev/ttyACM0-9, /dev/ttyS0-3.

#include <QString>

namespace PortNames {

inline constexpr int PortCount = 4;

// Device name for the port number, or an empty string when there is none.
QString DeviceFor(int port);

} // namespace PortNames
