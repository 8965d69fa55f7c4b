#include "log/log_rows.h"

#include <cstdio>

#include "log/event_catalogue.h"

namespace korvex {

namespace {

constexpr std::string_view kHeaders[kLogColumnCount] = {
    "№", "Время", "Дата", "ID", "Раздел", "Событие", "Зона/Пользователь",
};
constexpr std::string_view kHeadersEnglish[kLogColumnCount] = {
    "No.", "Time", "Date", "ID", "Partition", "Event", "Zone/User",
};

constexpr std::string_view kMonths[12] = {
    "январь", "февраль", "март",     "апрель",  "май",    "июнь",
    "июль",   "август",  "сентябрь", "октябрь", "ноябрь", "декабрь",
};
constexpr std::string_view kMonthsEnglish[12] = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December",
};

template <typename... Args>
std::string Format(const char* format, Args... args) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

}  // namespace

std::span<const std::string_view, kLogColumnCount> LogColumnHeaders(Language language) {
    if (language == Language::Russian) return kHeaders;
    return kHeadersEnglish;
}

std::string_view MonthName(int month, Language language) {
    if (month < 1 || month > 12) return {};
    return language == Language::Russian ? kMonths[month - 1] : kMonthsEnglish[month - 1];
}

LogRow MakeLogRow(const LogRecord& r, bool showEventCode, Language language) {
    LogRow row;
    row[kLogColPosition] = Format("%d", r.position);
    row[kLogColTime] = Format("%02d:%02d", r.hour, r.minute);
    row[kLogColDate] = Format("%02d ", r.day) + std::string(MonthName(r.month, language));
    row[kLogColId] = Format("%04X", static_cast<unsigned>(r.objectId));
    row[kLogColPartition] = Format("%02X", static_cast<unsigned>(r.partition));
    row[kLogColEvent] = DescribeEvent(r.eventCode, r.restore, showEventCode, language);
    row[kLogColZoneOrUser] =
        r.zoneOrUser == 0 ? std::string(kNoZoneOrUser) : Format("%02X", static_cast<unsigned>(r.zoneOrUser));
    return row;
}

std::vector<LogRow> MakeLogRows(std::span<const LogRecord> records, bool showEventCode, Language language) {
    std::vector<LogRow> rows;
    rows.reserve(records.size());
    for (const LogRecord& r : records) rows.push_back(MakeLogRow(r, showEventCode, language));
    return rows;
}

}  // namespace korvex
