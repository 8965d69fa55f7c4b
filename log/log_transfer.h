#pragma once
#include <vector>

#include "link/device_link.h"
#include "link/profile.h"
#include "link/progress.h"
#include "link/two_wire_bus.h"
#include "log/log_record.h"

namespace korvex {

// The module checks, then one sequential read of the whole ring at 1152 into
// `raw`; progress runs over 0..896 in steps of 20 and ends at 0. On a failed
// check nothing of the log is read and `raw` keeps its contents. A profile
// without a log gives UnknownType and touches neither the bus nor `raw`.
LinkOutcome ReadLogBytes(TwoWireBus& bus, const Profile& profile, Progress& progress, LogBytes& raw);

// ReadLogBytes, then DecodeLog into `out` (emptied first). On failure `out`
// and `raw` are left as they were.
LinkOutcome ReadLog(TwoWireBus& bus, const Profile& profile, Progress& progress, std::vector<LogRecord>& out,
                    LogBytes& raw);
// The same for callers that do not keep the raw ring.
LinkOutcome ReadLog(TwoWireBus& bus, const Profile& profile, Progress& progress, std::vector<LogRecord>& out);

// The module checks, then 0xFF over the whole ring: 14 page writes with the
// write-cycle wait after each and one more wait at the end; progress over
// 0..896 in steps of 10, ending at 0. The ring is then read back: a byte
// that is not 0xFF (a write-protected module) gives Mismatch with its
// address. On Ok the caller empties its listing.
LinkOutcome ClearLog(TwoWireBus& bus, const Profile& profile, Progress& progress);

}  // namespace korvex
