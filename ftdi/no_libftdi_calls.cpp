#include "ftdi/ftdi_calls.h"

namespace korvex {

// A build without libftdi1: FTDI cables work through their COM port.
std::unique_ptr<FtdiCalls> MakeFtdiCalls() { return nullptr; }

}  // namespace korvex
