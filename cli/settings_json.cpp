#include "cli/settings_json.h"

#include <cstdio>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <tuple>

#include "cli/cli_error.h"
#include "model/cp1251.h"
#include "model/field_codecs.h"
#include "model/gsm_alphabet.h"

// Each key is described once, in SettingsKeys() below: its name, the field it
// holds, and a codec that prints the field and reads it back. A codec's range
// is what a configuration image can hold, so whatever show prints for any
// image, build takes back; it refuses only what no image can hold.
namespace korvex::cli {
namespace {

// What every codec needs besides the value: the module (text count) and the
// message table, and the one way out on a misfit.
struct Io {
    const Profile& profile;
    const CliTexts& texts;

    [[noreturn]] void Fail(const std::string& key, std::string_view reason, const std::string& detail = {}) const {
        throw CliError(kExitInput, key + ": " + std::string(reason) + detail);
    }

    const JsonInput& Array(const JsonInput& value, const std::string& key, std::size_t count) const {
        if (!value.is_array() || value.size() != count)
            Fail(key, texts.expectArray, std::to_string(count) + std::string(texts.expectArrayItems));
        return value;
    }

    // A text in code page 1251; a zero character would end it early in the image.
    std::string Cp1251(const JsonInput& value, const std::string& key) const {
        if (!value.is_string()) Fail(key, texts.expectString);
        Cp1251Result converted = Utf8ToCp1251(value.get<std::string>());
        if (!converted.Ok()) {
            if (converted.error->kind == Cp1251Error::Kind::NoCode)
                Fail(key, texts.noCp1251, "\"" + EncodeUtf8(converted.error->character) + "\"");
            Fail(key, texts.noCp1251, converted.error->Message());
        }
        if (converted.bytes.find('\0') != std::string::npos) Fail(key, texts.zeroCharacter);
        return std::move(converted.bytes);
    }

    void CheckLength(const std::string& bytes, const std::string& key, int limit) const {
        if (bytes.size() > static_cast<std::size_t>(limit)) Fail(key, texts.textTooLong, std::to_string(limit));
    }
};

std::string Indexed(const std::string& key, std::size_t index) { return key + "[" + std::to_string(index) + "]"; }

// A whole number from `low` to `high`.
struct Whole {
    int low;
    int high;

    template <typename T>
    Json Show(const Io&, T value) const {
        return value;
    }
    template <typename T>
    void Read(const Io& io, const JsonInput& value, const std::string& key, T& out) const {
        if (!value.is_number_integer()) io.Fail(key, io.texts.expectNumber);
        const bool inRange = value.is_number_unsigned()
                                 ? value.get<std::uint64_t>() <= static_cast<std::uint64_t>(high) &&
                                       value.get<std::uint64_t>() >= static_cast<std::uint64_t>(std::max(low, 0))
                                 : value.get<std::int64_t>() >= low && value.get<std::int64_t>() <= high;
        if (!inRange) io.Fail(key, io.texts.outOfRange, std::to_string(low) + ".." + std::to_string(high));
        out = static_cast<T>(value.get<std::int64_t>());
    }
};

// A byte the module takes as it stands (codes, masks, action bytes).
constexpr Whole kAnyByte{0, std::numeric_limits<std::uint8_t>::max()};

struct Flag {
    Json Show(const Io&, bool value) const { return value; }
    void Read(const Io& io, const JsonInput& value, const std::string& key, bool& out) const {
        if (!value.is_boolean()) io.Fail(key, io.texts.expectBool);
        out = value.get<bool>();
    }
};

// A phone or SMS centre number: "" (no number), or the mark "+" or "-" and
// at most `maxDigits` semi-octets, each "0".."9" or ":"..">" (the nibbles
// A..E, which the image can hold and show prints).
struct DialNumber {
    int maxDigits;

    Json Show(const Io&, const std::string& value) const { return Cp1251ToUtf8(value); }
    void Read(const Io& io, const JsonInput& value, const std::string& key, std::string& out) const {
        if (!value.is_string()) io.Fail(key, io.texts.expectString);
        const std::string number = value.get<std::string>();
        const bool ok =
            number.empty() ||
            ((number[0] == '+' || number[0] == '-') && number.size() - 1 <= static_cast<std::size_t>(maxDigits) &&
             std::all_of(number.begin() + 1, number.end(), [](char c) { return c >= '0' && c <= '>'; }));
        if (!ok) io.Fail(key, io.texts.badNumber, std::to_string(maxDigits) + std::string(io.texts.badNumberDigits));
        out = number;
    }
};

// A code page 1251 name of at most `maxBytes` bytes.
struct Name {
    int maxBytes;

    Json Show(const Io&, const std::string& value) const { return Cp1251ToUtf8(value); }
    void Read(const Io& io, const JsonInput& value, const std::string& key, std::string& out) const {
        std::string bytes = io.Cp1251(value, key);
        io.CheckLength(bytes, key, maxBytes);
        out = std::move(bytes);
    }
};

// The PGM password: 7-bit characters only, the eighth bit marks the last.
struct Password {
    Json Show(const Io&, const std::string& value) const { return Cp1251ToUtf8(value); }
    void Read(const Io& io, const JsonInput& value, const std::string& key, std::string& out) const {
        std::string bytes = io.Cp1251(value, key);
        for (char c : bytes) {
            const auto b = static_cast<std::uint8_t>(c);
            if (b >= 0x80) io.Fail(key, io.texts.sevenBitOnly, "\"" + EncodeUtf8(Cp1251ToUnicode(b)) + "\"");
        }
        io.CheckLength(bytes, key, kPasswordMax);
        out = std::move(bytes);
    }
};

// An SMS text. Its limit depends on its cyrillic flag, which may come later
// in the object, so CheckTexts looks at it once every key is read.
struct SmsText {
    Json Show(const Io&, const std::string& value) const { return Cp1251ToUtf8(value); }
    void Read(const Io& io, const JsonInput& value, const std::string& key, std::string& out) const {
        out = io.Cp1251(value, key);
    }
};

// A fixed-size array of one codec's values, printed and read in full: as
// many as the array holds, or for texts and their flags the profile's count.
template <typename Item>
struct List {
    Item item;
    bool profileTexts = false;

    template <typename T, std::size_t N>
    std::size_t Count(const Io& io, const std::array<T, N>&) const {
        return profileTexts ? static_cast<std::size_t>(io.profile.textCount) : N;
    }
    template <typename T, std::size_t N>
    Json Show(const Io& io, const std::array<T, N>& values) const {
        Json j = Json::array();
        for (std::size_t n = 0; n < Count(io, values); ++n) j.push_back(item.Show(io, values[n]));
        return j;
    }
    template <typename T, std::size_t N>
    void Read(const Io& io, const JsonInput& value, const std::string& key, std::array<T, N>& out) const {
        const std::size_t count = Count(io, out);
        const JsonInput& list = io.Array(value, key, count);
        for (std::size_t n = 0; n < count; ++n) item.Read(io, list[n], Indexed(key, n), out[n]);
    }
};
template <typename Item>
constexpr List<Item> ListOf(Item item) {
    return List<Item>{item, false};
}
template <typename Item>
constexpr List<Item> ProfileTexts(Item item) {
    return List<Item>{item, true};
}

enum class Modules { Both, FullOnly };

// One key of an object: its name, the field and the codec.
template <typename Struct, typename Field, typename Codec>
struct Key {
    std::string_view name;
    Field Struct::*field;
    Codec codec;
    Modules modules = Modules::Both;

    bool On(const Profile& profile) const { return modules == Modules::Both || profile.kind == ModuleKind::Full; }
};
template <typename Struct, typename Field, typename Codec>
Key(std::string_view, Field Struct::*, Codec, Modules = Modules::Both) -> Key<Struct, Field, Codec>;

// An object of keys. Every key is printed; reading takes the keys given and
// leaves the others as they were.
template <typename... Keys>
struct Record {
    std::tuple<Keys...> keys;

    template <typename Struct>
    Json Show(const Io& io, const Struct& value) const {
        Json j = Json::object();
        std::apply(
            [&](const auto&... key) {
                ((key.On(io.profile) ? void(j[std::string(key.name)] = key.codec.Show(io, value.*key.field)) : void()),
                 ...);
            },
            keys);
        return j;
    }
    template <typename Struct>
    void Read(const Io& io, const JsonInput& value, const std::string& path, Struct& out) const {
        if (!value.is_object()) io.Fail(path, io.texts.expectObject);
        for (const auto& entry : value.items()) {
            // Plain names, not a structured binding: some compilers do not let lambdas capture one.
            const std::string& name = entry.key();
            const JsonInput& item = entry.value();
            const std::string key = path.empty() ? name : path + "." + name;
            const bool known = std::apply(
                [&](const auto&... k) {
                    return ((k.name == name && (k.On(io.profile) ? (k.codec.Read(io, item, key, out.*k.field), true)
                                                                 : (io.Fail(key, io.texts.fullOnlyKey), true))) ||
                            ...);
                },
                keys);
            if (!known) io.Fail(key, io.texts.unknownKey);
        }
    }
};
template <typename... Keys>
constexpr Record<Keys...> RecordOf(Keys... keys) {
    return Record<Keys...>{std::tuple<Keys...>{keys...}};
}

constexpr Whole kPhoneNumber{0, kPhoneCount};  // 0 none, 1..8 phone #1..#8

// The settings' keys in the order show prints them.
const auto& SettingsKeys() {
    using S = ConfigSettings;
    static const auto nameRecord = RecordOf(Key{"name", &NameRecord::name, Name{kNameMax}},
                                            Key{"sound", &NameRecord::sound, Whole{0, kNameSoundMax}});
    static const auto reportAction = RecordOf(Key{"smsPhone", &ReportAction::smsPhone, kPhoneNumber},
                                              Key{"autodialPhone", &ReportAction::autodialPhone, kPhoneNumber},
                                              Key{"reportTypeMask", &ReportAction::reportTypeMask, kAnyByte},
                                              Key{"smsLayoutMask", &ReportAction::smsLayoutMask, kAnyByte});
    // One row a key: a table, so the formatter leaves it so.
    // clang-format off
    static const auto keys = RecordOf(
        Key{"phones", &S::phones, ListOf(DialNumber{kPhoneMaxDigits})},
        Key{"texts", &S::texts, ProfileTexts(SmsText{})},
        Key{"cyrillic", &S::cyrillic, ProfileTexts(Flag{})},
        Key{"pgmPassword", &S::pgmPassword, Password{}},
        Key{"objectName", &S::objectName, Name{kObjectNameMax}, Modules::FullOnly},
        Key{"smscNumber", &S::smscNumber, DialNumber{kSmscMaxDigits}},
        Key{"testSmsCode", &S::testSmsCode, kAnyByte},
        Key{"pgmSeconds", &S::pgmSeconds, kAnyByte},
        Key{"autodialCycles", &S::autodialCycles, Whole{kAutodialCyclesFewest, kAutodialCyclesMost}},
        Key{"voiceAfterPickup", &S::voiceAfterPickup, Flag{}},
        Key{"zoneType", &S::zoneType, ListOf(Flag{})},
        Key{"zoneActions", &S::zoneActions, ListOf(ListOf(kAnyByte))},
        Key{"reportActions", &S::reportActions, ListOf(reportAction), Modules::FullOnly},
        Key{"zoneNames", &S::zoneNames, ListOf(nameRecord), Modules::FullOnly},
        Key{"partitionNames", &S::partitionNames, ListOf(nameRecord), Modules::FullOnly},
        Key{"userNames", &S::userNames, ListOf(Name{kNameMax}), Modules::FullOnly});
    // clang-format on
    return keys;
}

// Each text against its flag: a UCS-2 text holds 31 characters of code page
// 1251; a GSM 7-bit text only the alphabet's characters, 70 septets.
void CheckTexts(const Io& io, const ConfigSettings& settings) {
    for (int n = 0; n < io.profile.textCount; ++n) {
        const std::string key = Indexed("texts", static_cast<std::size_t>(n));
        const std::string& bytes = settings.texts[n];
        if (settings.cyrillic[n]) {
            io.CheckLength(bytes, key, kCyrillicTextCapacity);
            continue;
        }
        if (const auto refusal = FindNonGsm(bytes))
            io.Fail(key, io.texts.latinOnly, "\"" + EncodeUtf8(refusal->character) + "\"");
        if (GsmSeptetCount(bytes) > kLatinTextCapacity)
            io.Fail(key, io.texts.textTooLong, std::to_string(kLatinTextCapacity) + std::string(io.texts.septets));
    }
}

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

Json SettingsToJson(const Profile& profile, const ConfigSettings& settings) {
    return SettingsKeys().Show(Io{profile, TextsFor(profile)}, settings);
}

void ApplyJson(const Profile& profile, const CliTexts& texts, const JsonInput& object, ConfigSettings& settings) {
    if (!object.is_object()) throw CliError(kExitInput, std::string(texts.notAnObject));
    const Io io{profile, texts};
    SettingsKeys().Read(io, object, "", settings);
    CheckTexts(io, settings);
}

std::string SettingsAsLines(const Json& object) {
    std::string out;
    Flatten("", object, out);
    return out;
}

std::string EscapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        unsigned code = c;
        std::size_t length = 1;
        if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F &&
            static_cast<unsigned char>(text[i + 1]) >= 0x80) {
            code = static_cast<unsigned char>(text[i + 1]);  // U+0080..U+009F in UTF-8
            length = 2;
        }
        switch (code) {
            case '\\': out += "\\\\"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (code < 0x20 || code == 0x7F || length == 2) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", code);
                    out += escaped;
                } else {
                    out.append(text.substr(i, length));
                }
        }
        i += length - 1;
    }
    return out;
}

}  // namespace korvex::cli
