// The GSM 7-bit alphabet: texts against the bytes a phone decodes as typed
// (packed by hand from the tables of 3GPP TS 23.038), records as the module
// holds them decoded back, and the round trip of every character.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "model/cp1251.h"
#include "model/field_codecs.h"
#include "model/gsm_alphabet.h"

namespace korvex {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Record = std::array<std::uint8_t, 64>;

std::string Repeat(const std::string& unit, int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += unit;
    return text;
}

Bytes Repeat(const Bytes& unit, int n) {
    Bytes bytes;
    for (int i = 0; i < n; ++i) bytes.insert(bytes.end(), unit.begin(), unit.end());
    return bytes;
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Record Packed(const std::string& cp1251) {
    Record record{};
    PackText(cp1251, false, record);
    return record;
}

Record RecordOf(const Bytes& head) {
    Record record{};
    std::copy(head.begin(), head.end(), record.begin());
    return record;
}

struct PackCase {
    const char* name;
    std::string text;  // code page 1251
    Bytes expected;    // count bytes, then data; the rest of the record stays zero
};

// Eight septets "[]xxxx" (1B 3C 1B 3E 78 78 78 78) fill seven octets.
const Bytes kBracketsUnit = {0x1B, 0xDE, 0xC6, 0x87, 0xC7, 0xE3, 0xF1};

const PackCase kPackCases[] = {
    {"underscore", "_", {0x01, 0x01, 0x11}},
    {"open bracket", "[", {0x02, 0x02, 0x1B, 0x1E}},
    {"backslash", "\\", {0x02, 0x02, 0x9B, 0x17}},
    {"close bracket", "]", {0x02, 0x02, 0x1B, 0x1F}},
    {"caret", "^", {0x02, 0x02, 0x1B, 0x0A}},
    {"open brace", "{", {0x02, 0x02, 0x1B, 0x14}},
    {"bar", "|", {0x02, 0x02, 0x1B, 0x20}},
    {"close brace", "}", {0x02, 0x02, 0x9B, 0x14}},
    {"tilde", "~", {0x02, 0x02, 0x9B, 0x1E}},
    {"euro", "\x88", {0x02, 0x02, 0x9B, 0x32}},
    {"at", "@", {0x01, 0x01, 0x00}},
    {"dollar", "$", {0x01, 0x01, 0x02}},
    {"section", "\xA7", {0x01, 0x01, 0x5F}},
    {"currency sign", "\xA4", {0x01, 0x01, 0x24}},
    {"underscore between letters", "a_b", {0x03, 0x03, 0xE1, 0x88, 0x18}},
    {"object name", "sklad_3", {0x07, 0x07, 0xF3, 0x35, 0x3B, 0x4C, 0x8E, 0xCC}},
    // 50 characters, 68 septets: the page's whole limit.
    {"68 septets with escapes", Repeat("[]xxxx", 8) + "\x88~",
     Bytes{60, 68} + Repeat(kBracketsUnit, 8) + Bytes{0x9B, 0xF2, 0xA6, 0x07}},
    // 71 septets: the euro would need two past the 70 the record holds.
    {"escape pair never split", std::string(69, 'x') + "\x88",
     Bytes{61, 69} + Repeat(Bytes{0x78, 0x3C, 0x1E, 0x8F, 0xC7, 0xE3, 0xF1}, 8) + Bytes{0x78, 0x3C, 0x1E, 0x8F, 0x07}},
    // Refused by the pages and build; a careless caller gets "?".
    {"backtick the alphabet lacks", "`", {0x01, 0x01, 0x3F}},
};

class GsmPacking : public testing::TestWithParam<PackCase> {};

TEST_P(GsmPacking, GivesTheSeptetsAPhoneShowsAsTyped) {
    const PackCase& c = GetParam();
    EXPECT_EQ(Packed(c.text), RecordOf(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Model, GsmPacking, testing::ValuesIn(kPackCases),
                         [](const testing::TestParamInfo<PackCase>& info) {
                             std::string name;
                             for (const char ch : std::string(info.param.name))
                                 name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             return name;
                         });

TEST(GsmUnpacking, RecordsDecodeAsThePhoneShowsThem) {
    struct Case {
        const char* name;
        Bytes record;
        std::string text;  // code page 1251
    };
    const Case cases[] = {
        // Earlier versions wrote ASCII codes: 0x5F was meant as "_", and
        // recipients saw "§"; 0x5B ("[") showed "Ä", which code page 1251 lacks.
        {"old underscore", {0x01, 0x01, 0x5F}, "\xA7"},
        {"old bracket", {0x01, 0x01, 0x5B}, "?"},
        {"accented letter", {0x01, 0x01, 0x05}, "?"},  // é
        {"every extension character", {0x12, 0x14, 0x1B, 0xC5, 0x86, 0xB2, 0x41, 0x6D, 0x52, 0x9B, 0xD7, 0x86, 0xB7, 0xE9, 0x6D, 0x7C, 0x1B, 0xE0, 0xA6, 0x0C},
         "\x0C^{}\\[~]|\x88"},
        {"escape before a code the extension table lacks", {0x02, 0x02, 0x9B, 0x20}, "A"},
        {"two escapes", {0x03, 0x03, 0x9B, 0x4D, 0x10}, " A"},
        {"escape at the end", {0x02, 0x02, 0xC1, 0x0D}, "A"},
        {"count ends inside an escape pair", {0x02, 0x01, 0x1B, 0x1E}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const UnpackedText unpacked = UnpackText(RecordOf(c.record));
        EXPECT_FALSE(unpacked.cyrillic);
        EXPECT_EQ(unpacked.text, c.text);
    }
}

TEST(GsmAlphabet, EveryCharacterOfBothTablesRoundTrips) {
    int held = 0;
    for (int code = 0; code < 128; ++code) {
        SCOPED_TRACE(code);
        const auto c = static_cast<std::uint8_t>(code);
        if (const auto character = GsmDefaultCharacter(c)) {
            ++held;
            EXPECT_EQ(GsmCodeOf(*character), (GsmCode{c, false}));
        }
        if (const auto character = GsmExtensionCharacter(c)) {
            ++held;
            EXPECT_EQ(GsmCodeOf(*character), (GsmCode{c, true}));
        }
    }
    EXPECT_EQ(held, 127 + 10);  // the default table but its escape, and the extension table
    EXPECT_FALSE(GsmDefaultCharacter(kGsmEscape));
    EXPECT_FALSE(GsmCodeOf(U'\x1B'));
}

TEST(GsmAlphabet, EveryCodePageCharacterItHoldsSurvivesARecord) {
    int held = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        if (FindNonGsm(one)) continue;
        ++held;
        SCOPED_TRACE(byte);
        // Between other characters, so a septet's neighbours are packed too.
        const std::string text = "a" + one + "z" + one;
        EXPECT_EQ(UnpackText(Packed(text)).text, text);
    }
    // Printable ASCII but "`", LF, FF, CR, "€", "¤" and "§".
    EXPECT_EQ(held, 94 + 3 + 3);
}

TEST(GsmAlphabet, RefusalNamesTheFirstCharacterItLacks) {
    struct Case {
        std::string text;  // code page 1251
        char32_t character;
        std::size_t position;
    };
    const Case cases[] = {
        {"sklad`3", U'`', 5},
        {"Trevoga \xC6", U'Ж', 8},
        {"\xB9 1", U'№', 0},
        {std::string("x\0y", 3), U'\0', 1},
        {"tab\there", U'\t', 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto refusal = FindNonGsm(c.text);
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->character, c.character);
        EXPECT_EQ(refusal->position, c.position);
    }
    EXPECT_EQ(FindNonGsm("sklad`3")->Message(), "the character \"`\" (U+0060) is not in the GSM 7-bit alphabet");
    EXPECT_FALSE(FindNonGsm("a_b [x] {y} ~|\\^ \x88\xA4\xA7 @$\r\n"));
}

TEST(GsmAlphabet, SeptetCountTakesTwoForAnExtensionCharacter) {
    EXPECT_EQ(GsmSeptetCount(std::string_view("")), 0);
    EXPECT_EQ(GsmSeptetCount(std::string_view("sklad_3")), 7);
    EXPECT_EQ(GsmSeptetCount(std::string_view("[a]\x88")), 7);
    EXPECT_EQ(GsmSeptetCount(std::string_view("`")), 1);  // refused later, never counted twice
    EXPECT_EQ(GsmSeptetCount(std::u32string_view(U"{é}€")), 7);
    EXPECT_EQ(GsmSeptetCount(Repeat("[]xxxx", 8) + "\x88~"), 68);
}

}  // namespace
}  // namespace korvex
