#pragma once
#include <cstdint>

#include "log/log_record.h"

namespace korvex::test {

// A decoded record with every field given.
inline LogRecord MakeRecord(int month, int day, int hour, int minute, int id, int partition, int code, bool restore,
                            int zone, int position = 0) {
    LogRecord r;
    r.position = position;
    r.month = month;
    r.day = day;
    r.hour = hour;
    r.minute = minute;
    r.objectId = static_cast<std::uint16_t>(id);
    r.partition = partition;
    r.eventCode = code;
    r.restore = restore;
    r.zoneOrUser = zone;
    return r;
}

}  // namespace korvex::test
