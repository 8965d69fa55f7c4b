#pragma once
#include <vector>

#include "log/log_record.h"

namespace korvex {

// A short working log for the demo module: arming, an alarm and its restore,
// a mains trouble and its restore, a silent alarm (whose text has a comma),
// a periodic test and a disarm, in the order the module would have logged them.
std::vector<LogRecord> DemoLogRecords();

// The demo ring as it lies at memory address 1152: the marker in slot 0,
// DemoLogRecords in slots 1.., the rest erased.
LogBytes DemoLogArea();

}  // namespace korvex
