#include <gtest/gtest.h>

#include "record_fixture.h"
#include <string_view>
#include <vector>

#include "log/log_rows.h"

namespace korvex {
namespace {

LogRecord Record(int position, int month, int day, int hour, int minute, int id, int partition, int code,
                 bool restore, int zone) {
    return test::MakeRecord(month, day, hour, minute, id, partition, code, restore, zone, position);
}

TEST(LogRows, Cases) {
    struct Case {
        const char* name;
        LogRecord record;
        bool showCode;
        LogRow expected;
    } const cases[] = {
        {"5 December, code 130 restore in zone 3", Record(1, 12, 5, 9, 23, 0x1234, 2, 130, true, 3), false,
         {"1", "09:23", "05 декабрь", "1234", "02", "Восстановление зоны", "03"}},
        {"show code", Record(2, 12, 5, 9, 23, 0x1234, 2, 130, true, 3), true,
         {"2", "09:23", "05 декабрь", "1234", "02", "130 Восстановление зоны", "03"}},
        {"no zone, month 0", Record(17, 0, 7, 0, 0, 0, 0, 602, false, 0), false,
         {"17", "00:00", "07 ", "0000", "00", "Периодический тестовый отчет", " "}},
        {"months 13 to 15 have no name either", Record(3, 13, 0, 0, 0, 0, 0, 602, false, 0), false,
         {"3", "00:00", "00 ", "0000", "00", "Периодический тестовый отчет", " "}},
        {"capital hex and stored values past the calendar", Record(112, 1, 31, 31, 63, 0xABCD, 15, 119, false, 255),
         false, {"112", "31:63", "31 январь", "ABCD", "0F", "119", "FF"}},
        {"unknown code with show code", Record(4, 6, 1, 12, 0, 0x00A0, 10, 865, false, 10), true,
         {"4", "12:00", "01 июнь", "00A0", "0A", "865 ", "0A"}},
    };
    for (const Case& c : cases) EXPECT_EQ(MakeLogRow(c.record, c.showCode, Language::Russian), c.expected) << c.name;
}

TEST(LogRows, English) {
    EXPECT_EQ(MakeLogRow(Record(2, 12, 5, 9, 23, 0x1234, 2, 130, true, 3), true, Language::English),
              (LogRow{"2", "09:23", "05 December", "1234", "02", "130 Zone Restore", "03"}));
    EXPECT_EQ(MakeLogRow(Record(17, 0, 7, 0, 0, 0, 0, 602, false, 0), false, Language::English),
              (LogRow{"17", "00:00", "07 ", "0000", "00", "Periodic Test Report", " "}));
    const auto headers = LogColumnHeaders(Language::English);
    EXPECT_EQ(std::vector<std::string_view>(headers.begin(), headers.end()),
              (std::vector<std::string_view>{"No.", "Time", "Date", "ID", "Partition", "Event", "Zone/User"}));
    for (int month = 1; month <= 12; ++month) {
        EXPECT_FALSE(MonthName(month, Language::English).empty()) << month;
        EXPECT_NE(MonthName(month, Language::English), MonthName(month, Language::Russian)) << month;
    }
    EXPECT_EQ(MonthName(1, Language::English), "January");
    EXPECT_EQ(MonthName(13, Language::English), "");
}

TEST(LogRows, MonthNames) {
    const char* const names[] = {"",     "январь", "февраль",  "март",    "апрель", "май",     "июнь", "июль",
                                 "август", "сентябрь", "октябрь", "ноябрь", "декабрь", "",     "",     ""};
    for (int month = 0; month < 16; ++month) EXPECT_EQ(MonthName(month, Language::Russian), names[month]) << month;
}

}  // namespace
}  // namespace korvex
