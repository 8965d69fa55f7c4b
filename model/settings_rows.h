#pragma once
#include <string>
#include <vector>

#include "link/profile.h"
#include "model/config_settings.h"

namespace korvex {

// Which setting a row shows, so that a caller can copy just that setting
// from one ConfigSettings into another.
enum class SettingKind {
    Phone,          // index: phone
    Text,           // index: text slot
    Cyrillic,       // index: text slot
    ZoneAction,     // index: zone group, sub: action byte 0..7 (its phone and text or sound)
    ZoneType,       // index: zone group
    ObjectName,
    Password,
    PgmSeconds,
    Smsc,
    AutodialCycles,
    TestSms,
    VoiceTiming,
    ReportSmsPhone,       // index: report action
    ReportAutodialPhone,  // index: report action
    ReportType,           // index: report action, sub: bit of reportTypeMask
    ReportLayout,         // index: report action, sub: bit of smsLayoutMask
    ReportLanguage,       // index: report action
    ZoneName,             // index: zone
    ZoneSound,
    PartitionName,        // index: partition
    PartitionSound,
    UserName,             // index: user
    VoiceSlot,            // index: slot; not in ConfigSettings, nothing to copy
};

struct SettingRef {
    SettingKind kind = SettingKind::Phone;
    int index = 0;
    int sub = 0;
    bool operator==(const SettingRef&) const = default;
};

// One setting as its page shows it (UTF-8): the page's name, the field's
// label path ("Зона 2 / Действие №1 / СМС / Телефон") and the value.
struct SettingRow {
    std::string page;
    std::string field;
    std::string value;
    SettingRef ref;
    bool off = false;  // the value is the page's "none" or a clear box
    int phone = 0;     // 1..8: the value names this phone of the Phones page
};

// Every setting the profile's pages show, page by page in the programs'
// page order, in the pages' own words. Bytes no page shows (program
// version, date, mask bits without a box) have no row. The COM speed has
// none either: it lives in the program, not in the module.
std::vector<SettingRow> DescribeSettings(const ConfigSettings& settings, const Profile& profile);

// Copies the one setting `ref` names from `from` into `into` (a zone action
// as a whole byte, so its phone and text stay a pair).
void TakeSetting(ConfigSettings& into, const ConfigSettings& from, const SettingRef& ref);

// One difference: a field whose value shows differently on the two sides.
struct DiffRow {
    std::string page;
    std::string field;
    std::string left;
    std::string right;
    SettingRef ref;
};

// The fields whose shown values differ, in page order; empty when equal.
std::vector<DiffRow> CompareSettings(const ConfigSettings& left, const ConfigSettings& right, const Profile& profile);

}  // namespace korvex
