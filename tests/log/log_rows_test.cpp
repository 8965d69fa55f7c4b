#include <gtest/gtest.h>

#include "record_fixture.h"
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
    for (const Case& c : cases) EXPECT_EQ(MakeLogRow(c.record, c.showCode), c.expected) << c.name;
}

TEST(LogRows, MonthNames) {
    const char* const names[] = {"",     "январь", "февраль",  "март",    "апрель", "май",     "июнь", "июль",
                                 "август", "сентябрь", "октябрь", "ноябрь", "декабрь", "",     "",     ""};
    for (int month = 0; month < 16; ++month) EXPECT_EQ(MonthName(month), names[month]) << month;
}

}  // namespace
}  // namespace korvex
