#pragma once
#include <string>
#include <vector>

namespace korvex {

// The serial ports this machine has, as device paths that --port and the
// port lists take ("/dev/ttyUSB0"; "COM3" on Windows), sorted. Only ports
// with hardware behind them: a /dev/ttyS node with no UART is left out.
// Never opens a port; an empty list when none can be found.
std::vector<std::string> SerialPortsPresent();

}  // namespace korvex
