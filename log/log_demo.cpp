#include "log/log_demo.h"

namespace korvex {

namespace {

LogRecord Event(int month, int day, int hour, int minute, int code, bool restore, int zoneOrUser) {
    LogRecord r;
    r.month = month;
    r.day = day;
    r.hour = hour;
    r.minute = minute;
    r.objectId = 0x1234;
    r.eventCode = code;
    r.restore = restore;
    r.partition = 1;
    r.zoneOrUser = zoneOrUser;
    return r;
}

}  // namespace

std::vector<LogRecord> DemoLogRecords() {
    return {
        Event(12, 4, 18, 5, 401, true, 1),    // armed by user 1
        Event(12, 5, 2, 41, 131, false, 2),   // perimeter zone 2 alarm
        Event(12, 5, 2, 44, 131, true, 2),    // and its restore
        Event(12, 5, 9, 23, 301, false, 0),   // mains lost
        Event(12, 5, 11, 7, 301, true, 0),    // mains back
        Event(12, 6, 3, 15, 146, false, 3),   // silent burglary alarm
        Event(12, 6, 12, 0, 602, false, 0),   // periodic test report
        Event(12, 6, 19, 30, 401, false, 1),  // disarmed by user 1
    };
}

LogBytes DemoLogArea() { return BuildLogArea(DemoLogRecords()); }

}  // namespace korvex
