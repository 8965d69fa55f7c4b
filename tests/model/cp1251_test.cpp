#include <gtest/gtest.h>

#include <string>

#include "model/cp1251.h"

namespace korvex {
namespace {

TEST(Cp1251, EveryByteRoundTripsThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = Cp1251ToUtf8(all);
    const Cp1251Result back = Utf8ToCp1251(utf8);
    ASSERT_TRUE(back.Ok()) << back.error->Message();
    EXPECT_EQ(back.bytes, all);
}

TEST(Cp1251, KnownCharacters) {
    struct Case {
        const char* utf8;
        const char* cp1251;
    };
    const Case cases[] = {
        {"Привет, мир!", "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0!"},
        {"Ёё№€", "\xA8\xB8\xB9\x88"},
        {"«Ґ» — ї", "\xAB\xA5\xBB \x97 \xBF"},
        {"АЯая", "\xC0\xDF\xE0\xFF"},
        {"@$ plain", "@$ plain"},
        {"", ""},
    };
    for (const Case& c : cases) {
        const Cp1251Result to = Utf8ToCp1251(c.utf8);
        ASSERT_TRUE(to.Ok()) << c.utf8;
        EXPECT_EQ(to.bytes, c.cp1251) << c.utf8;
        EXPECT_EQ(Cp1251ToUtf8(c.cp1251), c.utf8);
    }
}

TEST(Cp1251, RefusesWhatItCannotHold) {
    struct Case {
        const char* utf8;
        Cp1251Error::Kind kind;
        char32_t character;
        std::size_t position;
        const char* inMessage;
    };
    const Case cases[] = {
        {"ab\xD1\xA3" "c", Cp1251Error::Kind::NoCode, 0x0463, 2, "\"\xD1\xA3\" (U+0463)"},  // ѣ
        {"Жук 日", Cp1251Error::Kind::NoCode, 0x65E5, 4, "U+65E5"},
        {"ok \xF0\x9F\x98\x80", Cp1251Error::Kind::NoCode, 0x1F600, 3, "U+1F600"},
        {"é", Cp1251Error::Kind::NoCode, 0xE9, 0, "U+00E9"},
        {"ab\xC3", Cp1251Error::Kind::BadUtf8, 0, 2, "byte 2"},         // cut short
        {"\xC0\x80", Cp1251Error::Kind::BadUtf8, 0, 0, "not valid UTF-8"},  // overlong zero
        {"x\xED\xA0\x80", Cp1251Error::Kind::BadUtf8, 0, 1, "byte 1"},  // surrogate
        {"\x80", Cp1251Error::Kind::BadUtf8, 0, 0, "byte 0"},           // stray continuation
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        const Cp1251Result result = Utf8ToCp1251(c.utf8);
        ASSERT_FALSE(result.Ok());
        EXPECT_TRUE(result.bytes.empty()) << "nothing half-converted";
        EXPECT_EQ(result.error->kind, c.kind);
        EXPECT_EQ(result.error->position, c.position);
        EXPECT_EQ(result.error->character, c.character);
        EXPECT_NE(result.error->Message().find(c.inMessage), std::string::npos) << result.error->Message();
    }
}

}  // namespace
}  // namespace korvex
