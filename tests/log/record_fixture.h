#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "log/log_record.h"
#include "model/cp1251.h"

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

// Code page 1251 bytes of a UTF-8 text, nothing when it has a character
// without a code: the converter the export uses.
inline std::optional<std::string> To1251(std::string_view utf8) {
    Cp1251Result r = Utf8ToCp1251(utf8);
    if (!r.Ok()) return std::nullopt;
    return r.bytes;
}

}  // namespace korvex::test
