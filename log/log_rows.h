#pragma once
#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/language.h"
#include "log/log_record.h"

namespace korvex {

// The columns of the log listing, in order.
enum LogColumn : std::size_t {
    kLogColPosition,    // "%d"
    kLogColTime,        // "%02d:%02d" of hour and minute
    kLogColDate,        // day as "%02d", one space, month name
    kLogColId,          // object ID as "%04X"
    kLogColPartition,   // "%02X"
    kLogColEvent,       // DescribeEvent
    kLogColZoneOrUser,  // "%02X", or a single space for none
    kLogColumnCount
};

// One listed row as its cell texts (UTF-8). The listing is the store that the
// CSV export reads back, so rows travel as texts, not as records.
using LogRow = std::array<std::string, kLogColumnCount>;

// Column headers as the listing shows them.
std::span<const std::string_view, kLogColumnCount> LogColumnHeaders(Language language);

// "январь" ... "декабрь" (English: "January" ... "December") for 1..12;
// empty for 0 and 13..15.
std::string_view MonthName(int month, Language language);

// The zone or user cell of a record without one.
inline constexpr std::string_view kNoZoneOrUser = " ";

// The row of one record, its month and event in `language`. showEventCode
// puts the code before the event text.
LogRow MakeLogRow(const LogRecord& record, bool showEventCode, Language language);
std::vector<LogRow> MakeLogRows(std::span<const LogRecord> records, bool showEventCode, Language language);

}  // namespace korvex
