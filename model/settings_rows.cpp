#include "model/settings_rows.h"

#include <string_view>

#include "model/communicator_texts.h"
#include "model/cp1251.h"
#include "model/messages_texts.h"
#include "model/names_texts.h"
#include "model/page_names.h"
#include "model/phones_texts.h"
#include "model/properties_texts.h"
#include "model/sms_layout.h"
#include "model/zones_texts.h"

namespace korvex {

namespace {

constexpr int kTestSmsGroup = 3;
constexpr int kSounds = 3;
constexpr int kNameSounds = 6;
// The Properties page's list entries by testSmsCode; entry 1 is daily at an hour.
constexpr std::uint8_t kTestSmsCodes[] = {kTestSmsNone, 0, 0x81, 0x82, 0x83, 0x84, 0x86, 0x88, 0x8C};
constexpr int kDailyEntry = 1;

std::string Join(std::initializer_list<std::string_view> parts) {
    std::string joined;
    for (std::string_view part : parts) {
        if (!joined.empty()) joined += " / ";
        joined += part;
    }
    return joined;
}

std::string Numbered(std::string_view label, int n) { return std::string(label) + std::to_string(n); }

std::string Digits(const std::string& number) {
    return !number.empty() && (number[0] == '+' || number[0] == '-') ? number.substr(1) : number;
}

// A phone as the Phones page shows it: the "+" box ticked before the digits.
std::string PhoneShown(const std::string& number) {
    const std::string digits = Cp1251ToUtf8(Digits(number));
    return number.starts_with('+') ? "+" + digits : digits;
}

std::string TwoDigits(int value) {
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
}

class RowWriter {
public:
    RowWriter(std::vector<SettingRow>& rows, const char* page) : rows_(rows), page_(page) {}
    void Add(std::string field, std::string value, SettingRef ref, bool off = false, int phone = 0) {
        rows_.push_back({page_, std::move(field), std::move(value), ref, off, phone});
    }

private:
    std::vector<SettingRow>& rows_;
    std::string page_;
};

void DescribePhones(const ConfigSettings& s, const Profile& profile, std::vector<SettingRow>& rows) {
    RowWriter out(rows, PageNamesFor(profile.kind).phones);
    const PhonesTexts& texts = PhonesTextsFor(profile.kind);
    for (int n = 0; n < kPhoneCount; ++n)
        out.Add(Numbered(texts.numberLabel, n + 1), PhoneShown(s.phones[n]), {SettingKind::Phone, n});
}

void DescribeMessages(const ConfigSettings& s, const Profile& profile, std::vector<SettingRow>& rows) {
    RowWriter out(rows, PageNamesFor(profile.kind).messages);
    const MessagesTexts& texts = MessagesTextsFor(profile.kind);
    for (int n = 0; n < profile.textCount; ++n) {
        const std::string line = Numbered(texts.lineLabel, n + 1);
        out.Add(Join({line, texts.textHeading}), Cp1251ToUtf8(s.texts[n]), {SettingKind::Text, n});
        out.Add(Join({line, texts.cyrillicHeading}), s.cyrillic[n] ? texts.yes : texts.no, {SettingKind::Cyrillic, n},
                !s.cyrillic[n]);
    }
}

// The Zones page's reading of an action byte: a phone beyond #8 shows no
// choice, a text beyond the profile's count none, and without a phone the
// text or sound shows none.
void DescribeZones(const ConfigSettings& s, const Profile& profile, std::vector<SettingRow>& rows) {
    RowWriter out(rows, PageNamesFor(profile.kind).zones);
    const ZonesTexts& texts = ZonesTextsFor(profile.kind);
    const auto item = [&](std::string_view prefix, int n, int count) {
        if (n == 0) return std::string(texts.none);
        return n <= count ? Numbered(prefix, n) : std::string();
    };
    const auto phone = [](int n) { return n <= kPhoneCount ? n : 0; };
    for (int group = 0; group < kZoneGroups; ++group) {
        const bool testSms = group == kTestSmsGroup;
        for (int action = 0; action < kActionsPerGroup / 2; ++action) {
            const std::string head = Join({texts.groups[group], Numbered(texts.actionLabel, action + 1)});
            const std::uint8_t sms = s.zoneActions[group][action];
            const int smsPhone = sms & 0x0F;
            const int smsText = smsPhone == 0 ? 0 : sms >> 4;
            out.Add(Join({head, texts.smsBox, texts.phoneLabel}), item(texts.phoneItem, smsPhone, kPhoneCount),
                    {SettingKind::ZoneAction, group, action}, smsPhone == 0, phone(smsPhone));
            out.Add(Join({head, texts.smsBox, texts.smsLabel}), item(texts.textItem, smsText, profile.textCount),
                    {SettingKind::ZoneAction, group, action}, smsText == 0);
            if (testSms) continue;  // the test SMS has no autodial box
            const std::uint8_t call = s.zoneActions[group][4 + action];
            const int callPhone = call & 0x0F;
            const int sound = callPhone == 0 ? 0 : (call >> 4) & 3;
            out.Add(Join({head, texts.autodialBox, texts.phoneLabel}), item(texts.phoneItem, callPhone, kPhoneCount),
                    {SettingKind::ZoneAction, group, 4 + action}, callPhone == 0, phone(callPhone));
            out.Add(Join({head, texts.autodialBox, texts.soundLabel}), item(texts.phoneItem, sound, kSounds),
                    {SettingKind::ZoneAction, group, 4 + action}, sound == 0);
        }
        if (!testSms || profile.kind == ModuleKind::Compact)
            out.Add(Join({texts.groups[group], texts.zoneTypeBox, texts.alarmLabel}),
                    texts.alarmConditions[s.zoneType[group] ? 1 : 0], {SettingKind::ZoneType, group});
    }
}

std::string TestSmsShown(std::uint8_t code, const PropertiesTexts& texts) {
    if (code <= kTestSmsLastHour)
        return std::string(texts.testSmsPeriods[kDailyEntry]) + ", " + texts.hourBefore + " " + TwoDigits(code) +
               texts.hourAfter;
    for (std::size_t entry = 0; entry < std::size(kTestSmsCodes); ++entry)
        if (entry != kDailyEntry && kTestSmsCodes[entry] == code) return texts.testSmsPeriods[entry];
    return texts.testSmsPeriods[0];
}

void DescribeProperties(const ConfigSettings& s, const Profile& profile, std::vector<SettingRow>& rows) {
    RowWriter out(rows, PageNamesFor(profile.kind).properties);
    const PropertiesTexts& texts = PropertiesTextsFor(profile.kind);
    if (texts.objectName) out.Add(texts.objectName, Cp1251ToUtf8(s.objectName), {SettingKind::ObjectName});
    out.Add(texts.password, Cp1251ToUtf8(s.pgmPassword), {SettingKind::Password});
    std::string trigger(texts.trigger);
    trigger.erase(0, trigger.find_first_not_of(' '));
    out.Add(texts.duration, s.pgmSeconds == 0 ? trigger : TwoDigits(s.pgmSeconds), {SettingKind::PgmSeconds});
    out.Add(texts.smsc, texts.smscPrefix + Cp1251ToUtf8(Digits(s.smscNumber)), {SettingKind::Smsc});
    out.Add(texts.cycles, std::to_string(s.autodialCycles), {SettingKind::AutodialCycles});
    out.Add(texts.testSms, TestSmsShown(s.testSmsCode, texts), {SettingKind::TestSms},
            TestSmsShown(s.testSmsCode, texts) == texts.testSmsPeriods[0]);
    out.Add(texts.voice, texts.voiceTimings[s.voiceAfterPickup ? 0 : 1], {SettingKind::VoiceTiming});
}

void DescribeCommunicator(const ConfigSettings& s, std::vector<SettingRow>& rows) {
    RowWriter out(rows, kPageNamesRussian.communicator);
    const CommunicatorTexts& texts = kCommunicatorTexts;
    const MessagesTexts& words = MessagesTextsFor(ModuleKind::Full);
    // The lists show the chosen phone's number; the row names the phone
    // instead, so that a changed number shows once, on the Phones page.
    const char* phoneLabel = PhonesTextsFor(ModuleKind::Full).numberLabel;
    const auto phone = [&](int n) {
        if (n < 1 || n > kPhoneCount) return std::string(texts.noPhone);
        return Numbered(phoneLabel, n);
    };
    for (int k = 0; k < kReportActions; ++k) {
        const ReportAction& action = s.reportActions[k];
        const char* head = texts.actions[k];
        const auto named = [](int n) { return n >= 1 && n <= kPhoneCount ? n : 0; };
        out.Add(Join({head, texts.smsBox, texts.phoneLabel}), phone(action.smsPhone), {SettingKind::ReportSmsPhone, k},
                named(action.smsPhone) == 0, named(action.smsPhone));
        out.Add(Join({head, texts.smsBox, texts.languageLabel}),
                texts.languages[static_cast<int>(LanguageOf(action.smsLayoutMask))], {SettingKind::ReportLanguage, k});
        for (const ReportBoxText& box : kReportBoxes)
            out.Add(Join({head, texts.typesBox, box.text}),
                    (action.reportTypeMask >> box.bit) & 1 ? words.yes : words.no,
                    {SettingKind::ReportType, k, box.bit}, !((action.reportTypeMask >> box.bit) & 1));
        for (int bit = 0; bit < static_cast<int>(kLayoutBoxes.size()); ++bit)
            out.Add(Join({head, texts.layoutBox, kLayoutBoxes[bit]}),
                    (action.smsLayoutMask >> bit) & 1 ? words.yes : words.no, {SettingKind::ReportLayout, k, bit},
                    !((action.smsLayoutMask >> bit) & 1));
        out.Add(Join({head, texts.autodialBox, texts.phoneLabel}), phone(action.autodialPhone),
                {SettingKind::ReportAutodialPhone, k}, named(action.autodialPhone) == 0, named(action.autodialPhone));
    }
}

void DescribeNames(const ConfigSettings& s, std::vector<SettingRow>& rows) {
    RowWriter out(rows, kPageNamesRussian.names);
    const NamesTexts& texts = kNamesTexts;
    const auto sound = [&](int n) { return n >= 1 && n <= kNameSounds ? Numbered(texts.soundItem, n) : std::string(); };
    const auto row = [&](const char* header, int n) { return Numbered(std::string(header) + " " + texts.numberHeader, n + 1); };
    for (int n = 0; n < kZoneNames; ++n) {
        out.Add(row(texts.zoneHeader, n), Cp1251ToUtf8(s.zoneNames[n].name), {SettingKind::ZoneName, n});
        out.Add(Join({row(texts.zoneHeader, n), texts.soundHeader}), sound(s.zoneNames[n].sound), {SettingKind::ZoneSound, n});
    }
    for (int n = 0; n < kPartitionNames; ++n) {
        out.Add(row(texts.partitionHeader, n), Cp1251ToUtf8(s.partitionNames[n].name), {SettingKind::PartitionName, n});
        out.Add(Join({row(texts.partitionHeader, n), texts.soundHeader}), sound(s.partitionNames[n].sound),
                {SettingKind::PartitionSound, n});
    }
    for (int n = 0; n < kUserNames; ++n)
        out.Add(row(texts.userHeader, n), Cp1251ToUtf8(s.userNames[n]), {SettingKind::UserName, n});
}

std::uint8_t CopyBit(std::uint8_t into, std::uint8_t from, std::uint8_t bits) {
    return static_cast<std::uint8_t>((into & ~bits) | (from & bits));
}

}  // namespace

std::vector<SettingRow> DescribeSettings(const ConfigSettings& settings, const Profile& profile) {
    std::vector<SettingRow> rows;
    DescribePhones(settings, profile, rows);
    DescribeMessages(settings, profile, rows);
    DescribeZones(settings, profile, rows);
    DescribeProperties(settings, profile, rows);
    if (profile.kind == ModuleKind::Full) {
        DescribeCommunicator(settings, rows);
        DescribeNames(settings, rows);
    }
    return rows;
}

void TakeSetting(ConfigSettings& into, const ConfigSettings& from, const SettingRef& ref) {
    const int i = ref.index;
    switch (ref.kind) {
        case SettingKind::Phone: into.phones[i] = from.phones[i]; break;
        case SettingKind::Text: into.texts[i] = from.texts[i]; break;
        case SettingKind::Cyrillic:
            into.cyrillic[i] = from.cyrillic[i];
            into.textLimit[i] = TextLimit(from.cyrillic[i]);
            break;
        case SettingKind::ZoneAction: into.zoneActions[i][ref.sub] = from.zoneActions[i][ref.sub]; break;
        case SettingKind::ZoneType: into.zoneType[i] = from.zoneType[i]; break;
        case SettingKind::ObjectName: into.objectName = from.objectName; break;
        case SettingKind::Password: into.pgmPassword = from.pgmPassword; break;
        case SettingKind::PgmSeconds: into.pgmSeconds = from.pgmSeconds; break;
        case SettingKind::Smsc: into.smscNumber = from.smscNumber; break;
        case SettingKind::AutodialCycles: into.autodialCycles = from.autodialCycles; break;
        case SettingKind::TestSms: into.testSmsCode = from.testSmsCode; break;
        case SettingKind::VoiceTiming: into.voiceAfterPickup = from.voiceAfterPickup; break;
        case SettingKind::ReportSmsPhone: into.reportActions[i].smsPhone = from.reportActions[i].smsPhone; break;
        case SettingKind::ReportAutodialPhone:
            into.reportActions[i].autodialPhone = from.reportActions[i].autodialPhone;
            break;
        case SettingKind::ReportType: {
            auto& mask = into.reportActions[i].reportTypeMask;
            mask = CopyBit(mask, from.reportActions[i].reportTypeMask, static_cast<std::uint8_t>(1u << ref.sub));
            break;
        }
        case SettingKind::ReportLayout: {
            auto& mask = into.reportActions[i].smsLayoutMask;
            mask = CopyBit(mask, from.reportActions[i].smsLayoutMask, static_cast<std::uint8_t>(1u << ref.sub));
            break;
        }
        case SettingKind::ReportLanguage: {
            auto& mask = into.reportActions[i].smsLayoutMask;
            mask = CopyBit(mask, from.reportActions[i].smsLayoutMask, kLayoutLanguage);
            break;
        }
        case SettingKind::ZoneName: into.zoneNames[i].name = from.zoneNames[i].name; break;
        case SettingKind::ZoneSound: into.zoneNames[i].sound = from.zoneNames[i].sound; break;
        case SettingKind::PartitionName: into.partitionNames[i].name = from.partitionNames[i].name; break;
        case SettingKind::PartitionSound: into.partitionNames[i].sound = from.partitionNames[i].sound; break;
        case SettingKind::UserName: into.userNames[i] = from.userNames[i]; break;
        case SettingKind::VoiceSlot: break;
    }
}

std::vector<DiffRow> CompareSettings(const ConfigSettings& left, const ConfigSettings& right, const Profile& profile) {
    const std::vector<SettingRow> a = DescribeSettings(left, profile);
    const std::vector<SettingRow> b = DescribeSettings(right, profile);
    // Both lists come from one profile, so row n is the same field on both sides.
    std::vector<DiffRow> diff;
    for (std::size_t n = 0; n < a.size() && n < b.size(); ++n)
        if (a[n].value != b[n].value) diff.push_back({a[n].page, a[n].field, a[n].value, b[n].value, a[n].ref});
    return diff;
}

}  // namespace korvex
