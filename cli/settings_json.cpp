#include "cli/settings_json.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "cli/cli_error.h"
#include "model/cp1251.h"
#include "model/gsm_alphabet.h"

namespace korvex::cli {
namespace {

constexpr int kAutodialSoundMax = 3;
constexpr int kReportTypeMaskMax = 0x7F;     // bits 0..6
constexpr int kSmsLayoutBits = 0x37;         // bits 0..2, 4 and 5

constexpr std::string_view kFullOnlyKeys[] = {"objectName", "reportActions", "zoneNames", "partitionNames",
                                              "userNames"};
constexpr std::string_view kCommonKeys[] = {"phones",         "texts",          "cyrillic",   "pgmPassword",
                                            "smscNumber",     "testSmsCode",    "pgmSeconds", "autodialCycles",
                                            "voiceAfterPickup", "zoneType",     "zoneActions"};

bool HasFullFields(const Profile& profile) { return profile.kind == ModuleKind::Full; }

Json NameJson(const NameRecord& record) {
    Json j = Json::object();
    j["name"] = Cp1251ToUtf8(record.name);
    j["sound"] = record.sound;
    return j;
}

std::string Indexed(const std::string& key, std::size_t index) { return key + "[" + std::to_string(index) + "]"; }

// Checks and converts one value after another; the first misfit ends the
// command with the key it was found under.
class Applier {
public:
    Applier(const Profile& profile, const CliTexts& texts, ConfigSettings& settings)
        : profile_(profile), texts_(texts), settings_(settings) {}

    void Apply(const JsonInput& object) {
        for (const auto& [key, value] : object.items()) {
            const bool common = std::find(std::begin(kCommonKeys), std::end(kCommonKeys), key) != std::end(kCommonKeys);
            const bool fullOnly =
                std::find(std::begin(kFullOnlyKeys), std::end(kFullOnlyKeys), key) != std::end(kFullOnlyKeys);
            if (fullOnly && !HasFullFields(profile_)) Fail(key, texts_.fullOnlyKey);
            if (!common && !fullOnly) Fail(key, texts_.unknownKey);
        }
        // The flags first: a text's limit depends on its flag.
        if (object.contains("cyrillic")) Cyrillic(object["cyrillic"]);
        if (object.contains("phones")) Phones(object["phones"]);
        if (object.contains("texts")) Texts(object["texts"]);
        if (object.contains("pgmPassword")) settings_.pgmPassword = Password(object["pgmPassword"], "pgmPassword");
        if (object.contains("objectName"))
            settings_.objectName = Name(object["objectName"], "objectName", kObjectNameMax);
        if (object.contains("smscNumber")) settings_.smscNumber = Number(object["smscNumber"], "smscNumber");
        if (object.contains("testSmsCode")) settings_.testSmsCode = TestSmsCode(object["testSmsCode"]);
        if (object.contains("pgmSeconds"))
            settings_.pgmSeconds = static_cast<std::uint8_t>(Int(object["pgmSeconds"], "pgmSeconds", 0, kPgmSecondsMax));
        if (object.contains("autodialCycles"))
            settings_.autodialCycles = static_cast<std::uint8_t>(Int(object["autodialCycles"], "autodialCycles", 3, 9));
        if (object.contains("voiceAfterPickup"))
            settings_.voiceAfterPickup = Bool(object["voiceAfterPickup"], "voiceAfterPickup");
        if (object.contains("zoneType")) {
            const JsonInput& types = Array(object["zoneType"], "zoneType", kZoneGroups);
            for (int g = 0; g < kZoneGroups; ++g) settings_.zoneType[g] = Bool(types[g], Indexed("zoneType", g));
        }
        if (object.contains("zoneActions")) ZoneActions(object["zoneActions"]);
        if (object.contains("reportActions")) ReportActions(object["reportActions"]);
        if (object.contains("zoneNames")) Names(object["zoneNames"], "zoneNames", settings_.zoneNames);
        if (object.contains("partitionNames"))
            Names(object["partitionNames"], "partitionNames", settings_.partitionNames);
        if (object.contains("userNames")) {
            const JsonInput& names = Array(object["userNames"], "userNames", kUserNames);
            for (int n = 0; n < kUserNames; ++n)
                settings_.userNames[n] = Name(names[n], Indexed("userNames", n), kNameMax);
        }
    }

private:
    [[noreturn]] void Fail(const std::string& key, std::string_view reason, const std::string& detail = {}) const {
        throw CliError(kExitInput, key + ": " + std::string(reason) + detail);
    }

    const JsonInput& Array(const JsonInput& value, const std::string& key, int count) const {
        if (!value.is_array() || value.size() != static_cast<std::size_t>(count))
            Fail(key, texts_.expectArray, std::to_string(count) + std::string(texts_.expectArrayItems));
        return value;
    }

    const JsonInput& Object(const JsonInput& value, const std::string& key) const {
        if (!value.is_object()) Fail(key, texts_.expectObject);
        return value;
    }

    bool Bool(const JsonInput& value, const std::string& key) const {
        if (!value.is_boolean()) Fail(key, texts_.expectBool);
        return value.get<bool>();
    }

    int Int(const JsonInput& value, const std::string& key, int low, int high) const {
        if (!value.is_number_integer()) Fail(key, texts_.expectNumber);
        const bool inRange = value.is_number_unsigned()
                                 ? value.get<std::uint64_t>() <= static_cast<std::uint64_t>(high) &&
                                       value.get<std::uint64_t>() >= static_cast<std::uint64_t>(std::max(low, 0))
                                 : value.get<std::int64_t>() >= low && value.get<std::int64_t>() <= high;
        if (!inRange) Fail(key, texts_.outOfRange, std::to_string(low) + ".." + std::to_string(high));
        return static_cast<int>(value.get<std::int64_t>());
    }

    // A text in code page 1251; a zero character would end it early.
    std::string Cp1251(const JsonInput& value, const std::string& key) const {
        if (!value.is_string()) Fail(key, texts_.expectString);
        Cp1251Result converted = Utf8ToCp1251(value.get<std::string>());
        if (!converted.Ok()) {
            if (converted.error->kind == Cp1251Error::Kind::NoCode)
                Fail(key, texts_.noCp1251, "\"" + EncodeUtf8(converted.error->character) + "\"");
            Fail(key, texts_.noCp1251, converted.error->Message());
        }
        if (converted.bytes.find('\0') != std::string::npos) Fail(key, texts_.zeroCharacter);
        return std::move(converted.bytes);
    }

    void CheckLength(const std::string& bytes, const std::string& key, int limit) const {
        if (bytes.size() > static_cast<std::size_t>(limit)) Fail(key, texts_.textTooLong, std::to_string(limit));
    }

    // A GSM 7-bit text: every character in the alphabet, at most the
    // Messages page's limit in septets.
    void CheckGsm(const std::string& bytes, const std::string& key) const {
        if (const auto refusal = FindNonGsm(bytes)) Fail(key, texts_.latinOnly, "\"" + EncodeUtf8(refusal->character) + "\"");
        if (GsmSeptetCount(bytes) > kLatinTextLimit)
            Fail(key, texts_.textTooLong, std::to_string(kLatinTextLimit) + std::string(texts_.septets));
    }

    // The first character that seven bits cannot carry, if any.
    void CheckSevenBit(const std::string& bytes, const std::string& key, std::string_view reason) const {
        for (char c : bytes) {
            const auto b = static_cast<std::uint8_t>(c);
            if (b >= 0x80) Fail(key, reason, "\"" + EncodeUtf8(Cp1251ToUnicode(b)) + "\"");
        }
    }

    std::string Name(const JsonInput& value, const std::string& key, int limit) const {
        std::string bytes = Cp1251(value, key);
        CheckLength(bytes, key, limit);
        return bytes;
    }

    std::string Password(const JsonInput& value, const std::string& key) const {
        std::string bytes = Cp1251(value, key);
        CheckSevenBit(bytes, key, texts_.sevenBitOnly);
        CheckLength(bytes, key, kPasswordMax);
        return bytes;
    }

    // "" (no number), or the mark "+" or "-" and at most 20 digits.
    std::string Number(const JsonInput& value, const std::string& key) const {
        if (!value.is_string()) Fail(key, texts_.expectString);
        const std::string number = value.get<std::string>();
        if (number.empty()) return number;
        const bool ok = (number[0] == '+' || number[0] == '-') && number.size() - 1 <= kPhoneMaxDigits &&
                        std::all_of(number.begin() + 1, number.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!ok) Fail(key, texts_.badNumber);
        return number;
    }

    void Phones(const JsonInput& value) {
        const JsonInput& phones = Array(value, "phones", kPhoneCount);
        for (int n = 0; n < kPhoneCount; ++n) settings_.phones[n] = Number(phones[n], Indexed("phones", n));
    }

    void Cyrillic(const JsonInput& value) {
        const JsonInput& flags = Array(value, "cyrillic", profile_.textCount);
        for (int n = 0; n < profile_.textCount; ++n) settings_.cyrillic[n] = Bool(flags[n], Indexed("cyrillic", n));
    }

    void Texts(const JsonInput& value) {
        const JsonInput& list = Array(value, "texts", profile_.textCount);
        for (int n = 0; n < profile_.textCount; ++n) {
            const std::string key = Indexed("texts", n);
            std::string bytes = Cp1251(list[n], key);
            if (settings_.cyrillic[n]) CheckLength(bytes, key, kCyrillicTextLimit);
            else CheckGsm(bytes, key);
            settings_.texts[n] = std::move(bytes);
        }
    }

    std::uint8_t TestSmsCode(const JsonInput& value) const {
        const int code = Int(value, "testSmsCode", 0, 255);
        const bool periodic = std::find(std::begin(kTestSmsPeriods), std::end(kTestSmsPeriods), code) !=
                              std::end(kTestSmsPeriods);
        if (code > kTestSmsNone && !periodic) Fail("testSmsCode", texts_.badTestSmsCode);
        return static_cast<std::uint8_t>(code);
    }

    void ZoneActions(const JsonInput& value) {
        const JsonInput& groups = Array(value, "zoneActions", kZoneGroups);
        for (int g = 0; g < kZoneGroups; ++g) {
            const std::string groupKey = Indexed("zoneActions", g);
            const JsonInput& actions = Array(groups[g], groupKey, kActionsPerGroup);
            for (int i = 0; i < kActionsPerGroup; ++i) {
                const std::string key = Indexed(groupKey, i);
                const int action = Int(actions[i], key, 0, 255);
                // Low nibble: the phone; high nibble: the SMS text (actions
                // 1..4) or the sound (autodial actions 5..8).
                const int phone = action & 0x0F, high = action >> 4;
                const int highMax = i < kActionsPerGroup / 2 ? profile_.textCount : kAutodialSoundMax;
                if (action != 0 && (phone < 1 || phone > kPhoneCount || high < 1 || high > highMax))
                    Fail(key, texts_.badAction);
                settings_.zoneActions[g][i] = static_cast<std::uint8_t>(action);
            }
        }
    }

    void ReportActions(const JsonInput& value) {
        const JsonInput& list = Array(value, "reportActions", kReportActions);
        for (int n = 0; n < kReportActions; ++n) {
            const std::string base = Indexed("reportActions", n);
            const JsonInput& object = Object(list[n], base);
            ReportAction& action = settings_.reportActions[n];
            for (const auto& [key, v] : object.items()) {
                const std::string path = base + "." + key;
                if (key == "smsPhone") action.smsPhone = static_cast<std::uint8_t>(Int(v, path, 0, kPhoneCount));
                else if (key == "autodialPhone")
                    action.autodialPhone = static_cast<std::uint8_t>(Int(v, path, 0, kPhoneCount));
                else if (key == "reportTypeMask")
                    action.reportTypeMask = static_cast<std::uint8_t>(Int(v, path, 0, kReportTypeMaskMax));
                else if (key == "smsLayoutMask") {
                    const int mask = Int(v, path, 0, kSmsLayoutBits);
                    if ((mask & ~kSmsLayoutBits) != 0) Fail(path, texts_.badLayoutMask);
                    action.smsLayoutMask = static_cast<std::uint8_t>(mask);
                } else {
                    Fail(path, texts_.unknownKey);
                }
            }
        }
    }

    template <std::size_t N>
    void Names(const JsonInput& value, const std::string& key, std::array<NameRecord, N>& records) {
        const JsonInput& list = Array(value, key, static_cast<int>(N));
        for (std::size_t n = 0; n < N; ++n) {
            const std::string base = Indexed(key, n);
            const JsonInput& object = Object(list[n], base);
            for (const auto& [sub, v] : object.items()) {
                const std::string path = base + "." + sub;
                if (sub == "name") records[n].name = Name(v, path, kNameMax);
                else if (sub == "sound") records[n].sound = static_cast<std::uint8_t>(Int(v, path, 0, kNameSoundMax));
                else Fail(path, texts_.unknownKey);
            }
        }
    }

    const Profile& profile_;
    const CliTexts& texts_;
    ConfigSettings& settings_;
};

void Flatten(const std::string& path, const Json& value, std::string& out) {
    if (value.is_object()) {
        for (const auto& [key, v] : value.items()) Flatten(path.empty() ? key : path + "." + key, v, out);
    } else if (value.is_array()) {
        for (std::size_t i = 0; i < value.size(); ++i) Flatten(Indexed(path, i), value[i], out);
    } else {
        out += path + " = " + value.dump() + "\n";
    }
}

}  // namespace

Json SettingsToJson(const Profile& profile, const ConfigSettings& s) {
    const bool full = HasFullFields(profile);
    Json j = Json::object();
    j["phones"] = Json::array();
    for (const std::string& phone : s.phones) j["phones"].push_back(Cp1251ToUtf8(phone));
    j["texts"] = Json::array();
    j["cyrillic"] = Json::array();
    for (int n = 0; n < profile.textCount; ++n) {
        j["texts"].push_back(Cp1251ToUtf8(s.texts[n]));
        j["cyrillic"].push_back(static_cast<bool>(s.cyrillic[n]));
    }
    j["pgmPassword"] = Cp1251ToUtf8(s.pgmPassword);
    if (full) j["objectName"] = Cp1251ToUtf8(s.objectName);
    j["smscNumber"] = Cp1251ToUtf8(s.smscNumber);
    j["testSmsCode"] = s.testSmsCode;
    j["pgmSeconds"] = s.pgmSeconds;
    j["autodialCycles"] = s.autodialCycles;
    j["voiceAfterPickup"] = s.voiceAfterPickup;
    j["zoneType"] = Json::array();
    for (bool t : s.zoneType) j["zoneType"].push_back(t);
    j["zoneActions"] = Json::array();
    for (const auto& group : s.zoneActions) {
        Json actions = Json::array();
        for (std::uint8_t a : group) actions.push_back(a);
        j["zoneActions"].push_back(std::move(actions));
    }
    if (!full) return j;
    j["reportActions"] = Json::array();
    for (const ReportAction& a : s.reportActions) {
        Json action = Json::object();
        action["smsPhone"] = a.smsPhone;
        action["autodialPhone"] = a.autodialPhone;
        action["reportTypeMask"] = a.reportTypeMask;
        action["smsLayoutMask"] = a.smsLayoutMask;
        j["reportActions"].push_back(std::move(action));
    }
    j["zoneNames"] = Json::array();
    for (const NameRecord& r : s.zoneNames) j["zoneNames"].push_back(NameJson(r));
    j["partitionNames"] = Json::array();
    for (const NameRecord& r : s.partitionNames) j["partitionNames"].push_back(NameJson(r));
    j["userNames"] = Json::array();
    for (const std::string& name : s.userNames) j["userNames"].push_back(Cp1251ToUtf8(name));
    return j;
}

void ApplyJson(const Profile& profile, const CliTexts& texts, const JsonInput& object, ConfigSettings& settings) {
    if (!object.is_object()) throw CliError(kExitInput, std::string(texts.notAnObject));
    Applier(profile, texts, settings).Apply(object);
}

std::string SettingsAsLines(const Json& object) {
    std::string out;
    Flatten("", object, out);
    return out;
}

}  // namespace korvex::cli
