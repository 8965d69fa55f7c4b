#include "model/field_codecs.h"

#include <algorithm>

#include "model/cp1251.h"
#include "model/gsm_alphabet.h"

namespace korvex {
namespace {

constexpr std::uint8_t kInternational = 0x91;
constexpr std::uint8_t kOtherNumber = 0x81;
constexpr std::uint8_t kUcs2Flag = 0x80;

struct MarkedNumber {
    bool international = false;
    std::string_view digits;
};

MarkedNumber SplitMark(std::string_view number) {
    if (!number.empty() && (number.front() == '+' || number.front() == '-'))
        return {number.front() == '+', number.substr(1)};
    return {false, number};
}

// Digit 1 in the low nibble of out[0], digit 2 in its high nibble, and so on;
// an odd count leaves F in the last high nibble.
void PackSemiOctets(std::string_view digits, std::span<std::uint8_t> out) {
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const auto nibble = static_cast<std::uint8_t>((static_cast<std::uint8_t>(digits[i]) - 0x30) & 0x0F);
        std::uint8_t& byte = out[i / 2];
        byte = (i % 2 == 0) ? static_cast<std::uint8_t>(0xF0 | nibble)
                            : static_cast<std::uint8_t>((byte & 0x0F) | (nibble << 4));
    }
}

// Low nibble first; a nibble becomes the character 0x30 + value, F ends.
void UnpackSemiOctets(std::span<const std::uint8_t> bytes, std::string& out) {
    for (const std::uint8_t byte : bytes) {
        for (const int nibble : {byte & 0x0F, byte >> 4}) {
            if (nibble == 0x0F) return;
            out += static_cast<char>(0x30 + nibble);
        }
    }
}

std::string BytesUntilZero(std::span<const std::uint8_t> bytes) {
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return std::string(bytes.begin(), end);
}

void CopyCut(std::string_view text, std::span<std::uint8_t> field) {
    const std::size_t n = std::min(text.size(), field.size());
    for (std::size_t i = 0; i < n; ++i) field[i] = static_cast<std::uint8_t>(text[i]);
}

// A character the alphabet lacks packs as "?"; the pages and the command
// line refuse it before it is stored, so only a careless caller gets here.
GsmCode GsmCodeOrQuestionMark(char cp1251) {
    return GsmCodeOf(Cp1251ToUnicode(static_cast<std::uint8_t>(cp1251))).value_or(GsmCode{'?', false});
}

// Septets as a phone shows them; a character code page 1251 lacks becomes "?".
void AppendGsmCharacter(std::optional<char32_t> character, std::string& out) {
    const auto byte = character ? UnicodeToCp1251(*character) : std::nullopt;
    out += byte ? static_cast<char>(*byte) : '?';
}

void DecodeSeptets(std::span<const std::uint8_t> septets, std::string& out) {
    for (std::size_t i = 0; i < septets.size(); ++i) {
        if (septets[i] != kGsmEscape) {
            AppendGsmCharacter(GsmDefaultCharacter(septets[i]), out);
            continue;
        }
        // An escape that ends the text shows nothing; escape, escape shows a
        // space; an escape before a code the extension table lacks shows that
        // code's default character (3GPP TS 23.038).
        if (++i == septets.size()) return;
        if (const auto extension = GsmExtensionCharacter(septets[i])) {
            AppendGsmCharacter(extension, out);
        } else if (septets[i] == kGsmEscape) {
            out += ' ';
        } else {
            AppendGsmCharacter(GsmDefaultCharacter(septets[i]), out);
        }
    }
}

}  // namespace

void PackPhone(std::string_view phone, std::span<std::uint8_t, 16> record) {
    const MarkedNumber number = SplitMark(phone);
    const std::string_view digits = number.digits.substr(0, kPhoneMaxDigits);
    record[0] = static_cast<std::uint8_t>(digits.size());
    record[1] = number.international ? kInternational : kOtherNumber;
    PackSemiOctets(digits, record.subspan(2));
}

std::string UnpackPhone(std::span<const std::uint8_t, 16> record) {
    const int count = std::min<int>(record[0], kPhoneMaxDigits);
    std::string phone(1, record[1] == kInternational ? '+' : '-');
    UnpackSemiOctets(record.subspan(2, (count + 1) / 2), phone);
    return phone;
}

void PackSmsc(std::string_view number, std::span<std::uint8_t, 16> field) {
    if (number.empty()) {
        field[0] = 0x01;
        field[1] = kOtherNumber;
        field[2] = 0xF0;
        return;
    }
    const MarkedNumber marked = SplitMark(number);
    const std::string_view digits = marked.digits.substr(0, kSmscMaxDigits);
    field[0] = static_cast<std::uint8_t>((digits.size() + 1) / 2 + 1);
    field[1] = marked.international ? kInternational : kOtherNumber;
    PackSemiOctets(digits, field.subspan(2));
}

std::string UnpackSmsc(std::span<const std::uint8_t, 16> field) {
    const int length = std::min<int>(field[0], kSmscMaxLengthByte);
    std::string number(1, field[1] == kInternational ? '+' : '-');
    if (length > 1) UnpackSemiOctets(field.subspan(2, length - 1), number);
    return number;
}

void PackText(std::string_view text, bool cyrillic, std::span<std::uint8_t, 64> record) {
    if (cyrillic) {
        const std::string_view packed = text.substr(0, kCyrillicTextCapacity);
        record[0] = record[1] = static_cast<std::uint8_t>(2 * packed.size());
        std::size_t out = 2;
        for (const char c : packed) {
            const char32_t unicode = Cp1251ToUnicode(static_cast<std::uint8_t>(c));
            record[out++] = static_cast<std::uint8_t>(unicode >> 8);
            record[out++] = static_cast<std::uint8_t>(unicode & 0xFF);
        }
        return;
    }
    // Characters as long as their septets fit; an escape pair is never split.
    std::array<std::uint8_t, kLatinTextCapacity> septets{};
    int length = 0;
    for (const char c : text) {
        const GsmCode code = GsmCodeOrQuestionMark(c);
        if (length + code.Septets() > kLatinTextCapacity) break;
        if (code.extension) septets[length++] = kGsmEscape;
        septets[length++] = code.code;
    }
    record[0] = static_cast<std::uint8_t>((7 * length - 1) / 8 + 1);
    record[1] = static_cast<std::uint8_t>(length);
    // Septets least significant bit first, eight septets to seven octets.
    std::uint32_t bits = 0;
    int held = 0;
    std::size_t out = 2;
    for (int k = 0; k < length; ++k) {
        bits |= std::uint32_t{septets[k]} << held;
        held += 7;
        while (held >= 8) {
            record[out++] = static_cast<std::uint8_t>(bits & 0xFF);
            bits >>= 8;
            held -= 8;
        }
    }
    if (held > 0) record[out] = static_cast<std::uint8_t>(bits & 0xFF);
}

UnpackedText UnpackText(std::span<const std::uint8_t, 64> record) {
    UnpackedText result;
    result.cyrillic = (record[0] & kUcs2Flag) != 0;
    const int dataBytes = std::min(record[0] & 0x7F, kTextMaxData);
    const std::span<const std::uint8_t> data = record.subspan(2);
    if (result.cyrillic) {
        for (int i = 0; i < dataBytes; i += 2) {
            const char32_t unicode = (char32_t{data[i]} << 8) | data[i + 1];
            if (unicode == 0) break;
            const auto byte = UnicodeToCp1251(unicode);
            result.text += byte ? static_cast<char>(*byte) : '?';
        }
        return result;
    }
    const int count = std::min<int>(record[1], 8 * dataBytes / 7);
    std::array<std::uint8_t, 8 * kTextMaxData / 7> septets{};
    for (int k = 0; k < count; ++k) {
        const int bit = 7 * k;
        const int at = bit / 8;
        const int shift = bit % 8;
        unsigned value = data[at] >> shift;
        if (shift > 1) value |= unsigned{data[at + 1]} << (8 - shift);
        septets[k] = static_cast<std::uint8_t>(value & 0x7F);
    }
    DecodeSeptets(std::span(septets).first(count), result.text);
    return result;
}

void PackPassword(std::string_view password, std::span<std::uint8_t, 10> field) {
    const std::string_view packed = password.substr(0, kPasswordMax);
    for (std::size_t i = 0; i < packed.size(); ++i) field[i] = static_cast<std::uint8_t>(packed[i]) & 0x7F;
    if (!packed.empty()) field[packed.size() - 1] |= 0x80;
}

std::string UnpackPassword(std::span<const std::uint8_t, 10> field) {
    std::string password;
    for (const std::uint8_t byte : field) {
        const char c = static_cast<char>(byte & 0x7F);
        if (c == 0) break;
        password += c;
        if (byte & 0x80) break;
    }
    return password;
}

void CompactActions(std::span<std::uint8_t, 4> actions) {
    for (int pass = 0; pass < 4; ++pass) {
        for (int pos = 0; pos < 3; ++pos) {
            if (actions[pos] != 0) continue;
            for (int j = pos; j < 3; ++j) actions[j] = actions[j + 1];
            actions[3] = 0;
        }
    }
}

std::uint8_t PackActionByte(std::uint8_t action) {
    return action == 0 ? 0xFF : static_cast<std::uint8_t>(action - 0x11);
}

std::uint8_t UnpackActionByte(std::uint8_t imageByte) {
    return imageByte == 0xFF ? 0 : static_cast<std::uint8_t>(imageByte + 0x11);
}

void PackNameRecord(const NameRecord& record, std::span<std::uint8_t, 11> field) {
    field[0] = record.sound;
    CopyCut(record.name, field.subspan(1));
}

NameRecord UnpackNameRecord(std::span<const std::uint8_t, 11> field) {
    return NameRecord{BytesUntilZero(field.subspan(1)), field[0] >= 7 ? std::uint8_t{0} : field[0]};
}

void PackUserName(std::string_view name, std::span<std::uint8_t, 10> field) { CopyCut(name, field); }

std::string UnpackUserName(std::span<const std::uint8_t, 10> field) { return BytesUntilZero(field); }

void PackObjectName(std::string_view name, std::span<std::uint8_t, 24> field) { CopyCut(name, field); }

std::string UnpackObjectName(std::span<const std::uint8_t, 24> field) { return BytesUntilZero(field); }

void PackReportActions(const std::array<ReportAction, kReportActions>& actions, std::span<std::uint8_t, 16> field) {
    const auto phoneByte = [](std::uint8_t phone) {
        return phone == 0 ? std::uint8_t{0xFF} : static_cast<std::uint8_t>(phone - 1);
    };
    for (int i = 0; i < kReportActions; ++i) {
        field[i] = phoneByte(actions[i].smsPhone);
        field[4 + i] = phoneByte(actions[i].autodialPhone);
        field[8 + 2 * i] = actions[i].reportTypeMask;
        field[9 + 2 * i] = actions[i].smsLayoutMask;
    }
}

std::array<ReportAction, kReportActions> UnpackReportActions(std::span<const std::uint8_t, 16> field) {
    const auto phone = [](std::uint8_t byte) {
        return byte == 0xFF ? std::uint8_t{0} : static_cast<std::uint8_t>((byte & 7) + 1);
    };
    std::array<ReportAction, kReportActions> actions{};
    for (int i = 0; i < kReportActions; ++i) {
        actions[i] = ReportAction{phone(field[i]), phone(field[4 + i]), field[8 + 2 * i], field[9 + 2 * i]};
    }
    return actions;
}

}  // namespace korvex
