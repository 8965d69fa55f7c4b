#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "model/cp1251.h"
#include "record_fixture.h"
#include "log/event_catalogue.h"
#include "text_fields.h"

namespace korvex {
namespace {

using test::To1251;


// Written out apart from the table, so that a dropped, added or retyped row
// shows up here.
const std::vector<int> kCodes = {
    100, 101, 102, 110, 111, 112, 113, 114, 115, 116, 117, 118, 120, 121, 122, 123, 124, 125, 130, 131, 132, 133,
    134, 135, 136, 137, 138, 139, 140, 141, 142, 143, 144, 145, 146, 147, 150, 151, 152, 153, 154, 155, 156, 157,
    158, 159, 161, 162, 163, 200, 201, 202, 203, 204, 205, 206, 300, 301, 302, 303, 304, 305, 306, 307, 308, 309,
    310, 311, 312, 313, 320, 321, 322, 323, 324, 325, 326, 327, 330, 331, 332, 333, 334, 335, 336, 337, 338, 339,
    341, 342, 343, 344, 350, 351, 352, 353, 354, 355, 356, 357, 370, 371, 372, 373, 374, 375, 376, 377, 378, 380,
    381, 382, 383, 384, 385, 386, 387, 388, 389, 391, 392, 393, 400, 401, 402, 403, 404, 405, 406, 407, 408, 409,
    411, 412, 413, 414, 415, 416, 421, 422, 423, 424, 425, 426, 427, 428, 429, 430, 431, 432, 433, 434, 441, 442,
    450, 451, 452, 453, 454, 455, 456, 457, 458, 459, 461, 462, 463, 464, 465, 466, 470, 501, 520, 521, 522, 523,
    524, 525, 526, 527, 531, 532, 551, 552, 553, 570, 571, 572, 573, 574, 575, 576, 577, 601, 602, 603, 604, 605,
    606, 607, 608, 609, 611, 612, 613, 614, 615, 616, 621, 622, 623, 624, 625, 626, 627, 628, 629, 630, 631, 632,
    642, 654,
};

const std::set<int> kTwoTexts = {
    100, 101, 110, 111, 112, 113, 114, 115, 116, 117, 120, 130, 131, 132, 133, 134, 135, 136, 137, 140, 143, 144,
    145, 146, 147, 150, 151, 152, 153, 154, 155, 156, 157, 158, 159, 161, 162, 163, 201, 202, 203, 204, 300, 301,
    302, 303, 304, 310, 311, 312, 320, 321, 322, 323, 324, 325, 330, 331, 332, 333, 334, 335, 336, 337, 338, 341,
    342, 343, 344, 350, 351, 352, 353, 354, 355, 356, 357, 370, 373, 374, 375, 376, 377, 378, 380, 381, 382, 383,
    384, 385, 386, 387, 388, 389, 391, 392, 400, 401, 402, 403, 404, 407, 408, 409, 450, 451, 452,
};

TEST(EventCatalogue, KeySetAndTextCounts) {
    std::vector<int> codes;
    for (const EventEntry& e : EventCatalogue::Entries(Language::Russian)) codes.push_back(e.code);
    EXPECT_EQ(codes, kCodes);
    ASSERT_EQ(kCodes.size(), 222u);
    ASSERT_EQ(kTwoTexts.size(), 107u);
    for (const EventEntry& e : EventCatalogue::Entries(Language::Russian)) {
        EXPECT_EQ(e.HasTwoTexts(), kTwoTexts.count(e.code) == 1) << e.code;
        EXPECT_FALSE(e.newText.empty()) << e.code;
        EXPECT_NE(e.newText, e.restoreText) << e.code;
    }
}

TEST(EventCatalogue, FindsOnlyItsOwnCodes) {
    std::set<int> known(kCodes.begin(), kCodes.end());
    for (int code = -1; code <= 1000; ++code) {
        const EventEntry* e = EventCatalogue::Find(code, Language::Russian);
        ASSERT_EQ(e != nullptr, known.count(code) == 1) << code;
        if (e) {
            EXPECT_EQ(e->code, code);
        }
    }
}

TEST(EventCatalogue, SharedTexts) {
    auto entry = [](int code) { return *EventCatalogue::Find(code, Language::Russian); };
    // Whole entries alike.
    for (auto [a, b] : {std::pair{113, 114}, {118, 138}, {143, 333}, {404, 452}}) {
        EXPECT_EQ(entry(a).newText, entry(b).newText) << a << " " << b;
        EXPECT_EQ(entry(a).restoreText, entry(b).restoreText) << a << " " << b;
    }
    // The same restore after different conditions.
    for (auto [a, b] : {std::pair{158, 159}, {302, 311}, {331, 332}, {338, 342}, {385, 386}, {387, 388}}) {
        EXPECT_NE(entry(a).newText, entry(b).newText) << a << " " << b;
        EXPECT_EQ(entry(a).restoreText, entry(b).restoreText) << a << " " << b;
    }
    // And nothing else shares a whole entry.
    std::set<std::pair<std::string_view, std::string_view>> seen;
    int repeats = 0;
    for (const EventEntry& e : EventCatalogue::Entries(Language::Russian))
        repeats += !seen.insert({e.newText, e.restoreText}).second;
    EXPECT_EQ(repeats, 4);
}

TEST(EventCatalogue, OddSpellingsKept) {
    // Latin "C" (0x43) where a Cyrillic one would be expected.
    EXPECT_EQ(EventCatalogue::Find(330, Language::Russian)->restoreText,
              "\x43\xD0\xB8\xD1\x81\xD1\x82\xD0\xB5\xD0\xBC\xD0\xBD\xD0\xBE\xD0"
              "\xB9 периферия исправна");
    EXPECT_EQ(EventCatalogue::Find(415, Language::Russian)->newText, "Получена команда  останова наборщика");
    EXPECT_EQ(EventCatalogue::Find(603, Language::Russian)->newText, "Периодическая беспроводная передача ");

    // Those are the only ones: no other text has a stray Latin letter in a
    // Cyrillic word, a double space or an outer space.
    auto isLatin = [](unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; };
    for (const EventEntry& e : EventCatalogue::Entries(Language::Russian)) {
        for (std::string_view text : {e.newText, e.restoreText}) {
            if (text.empty()) continue;
            const bool odd415 = e.code == 415, odd603 = e.code == 603;
            EXPECT_EQ(text.find("  ") != std::string_view::npos, odd415) << e.code;
            EXPECT_EQ(text.back() == ' ', odd603) << e.code;
            EXPECT_NE(text.front(), ' ') << e.code;
            // Word by word: Latin letters next to Cyrillic bytes (0xD0/0xD1 lead).
            std::size_t start = 0;
            while (start < text.size()) {
                std::size_t end = text.find(' ', start);
                if (end == std::string_view::npos) end = text.size();
                const std::string_view word = text.substr(start, end - start);
                bool latin = false, cyrillic = false;
                for (unsigned char c : word) {
                    latin |= isLatin(c);
                    cyrillic |= c == 0xD0 || c == 0xD1;
                }
                const bool expectedMix = e.code == 330 && text == e.restoreText && start == 0;
                EXPECT_EQ(latin && cyrillic, expectedMix) << e.code << " " << word;
                start = end + 1;
            }
        }
    }
}

TEST(EventCatalogue, EveryTextHasACodePage1251Form) {
    for (const EventEntry& e : EventCatalogue::Entries(Language::Russian)) {
        EXPECT_TRUE(To1251(e.newText)) << e.code;
        EXPECT_TRUE(To1251(e.restoreText)) << e.code;
    }
    // "№" is one of the few non-letters the texts use.
    EXPECT_EQ(*To1251(EventCatalogue::Find(326, Language::Russian)->newText),
              "\xC8\xE7\xE2\xE5\xF9\xE5\xED\xE8\xE5 "
              "\xD3\xF1\xF2\xF0\xEE\xE9\xF1\xF2\xE2\xEE \xB9 3");
}

TEST(DescribeEvent, Cases) {
    struct Case {
        int code;
        bool restore, showCode;
        std::string expected;
    } const cases[] = {
        {130, false, false, "Тревога в зоне"},
        {130, true, false, "Восстановление зоны"},
        {130, true, true, "130 Восстановление зоны"},
        {102, false, false, "Неудача передачи сообщения"},
        {102, true, false, "Неудача передачи сообщения"},
        {102, true, true, "102 Неудача передачи сообщения"},
        {119, false, false, "119"},
        {119, true, true, "119 "},
        {0, false, false, "000"},
        {0, false, true, "000 "},
        {5, true, false, "005"},
        {865, true, false, "865"},
        {401, true, false, "Постановка на охрану пользователем"},
        {401, false, false, "Снятие с охраны пользователем"},
        {603, false, true, "603 Периодическая беспроводная передача "},
        {654, true, false, "Система не активна"},
        {100, false, true, "100 Нажата Кнопка Медицинская Тревога"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DescribeEvent(c.code, c.restore, c.showCode, Language::Russian), c.expected)
            << c.code << " restore " << c.restore << " show " << c.showCode;
}

// The English table is the Russian one translated row for row: every code,
// as many texts for each, none empty, none left in Russian, and a restore
// never worded as its event.
TEST(EventCatalogue, EnglishTranslatesEveryEntry) {
    const auto russian = EventCatalogue::Entries(Language::Russian);
    const auto english = EventCatalogue::Entries(Language::English);
    ASSERT_EQ(english.size(), 222u);
    ASSERT_EQ(english.size(), russian.size());
    for (std::size_t i = 0; i < english.size(); ++i) {
        const EventEntry& e = english[i];
        EXPECT_EQ(e.code, russian[i].code);
        EXPECT_EQ(e.HasTwoTexts(), russian[i].HasTwoTexts()) << e.code;
        EXPECT_FALSE(e.newText.empty()) << e.code;
        EXPECT_NE(e.newText, e.restoreText) << e.code;
        EXPECT_FALSE(test::HasCyrillic(e.newText) || test::HasCyrillic(e.restoreText)) << e.code;
        EXPECT_EQ(EventCatalogue::Find(e.code, Language::English), &e);
    }
}

TEST(DescribeEvent, English) {
    struct Case {
        int code;
        bool restore, showCode;
        std::string expected;
    } const cases[] = {
        {130, false, false, "Zone Alarm"},
        {130, true, true, "130 Zone Restore"},
        {102, true, false, "Message Transmission Failed"},
        {401, false, false, "Disarmed by User"},
        {401, true, false, "Armed by User"},
        {119, true, true, "119 "},
        {5, false, false, "005"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DescribeEvent(c.code, c.restore, c.showCode, Language::English), c.expected)
            << c.code << " restore " << c.restore << " show " << c.showCode;
}

}  // namespace
}  // namespace korvex
