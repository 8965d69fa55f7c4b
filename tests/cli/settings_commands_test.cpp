// build and show: settings as JSON, project files from JSON, and the
// refusals that name their key.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/cli_runner.h"
#include "link/profile.h"
#include "model/image_layout.h"

namespace korvex::testing {
namespace {

using nlohmann::ordered_json;

// Every field of the full module, each within its range and with the zone
// action lists already compact, so that build and show give it back as is.
const char* kFullSettings = R"({
  "phones": ["+79161234567", "-84951234567", "-", "-", "+12345678901234567890", "-1", "-", "-"],
  "texts": ["Alarm @ zone 1 $", "Тревога: зона 2", "", "sklad_3 [A|B] {x} ~^\\ 5€ §¤", "Проверка связи №1", "PGM"],
  "cyrillic": [false, true, false, false, true, false],
  "pgmPassword": "pass12",
  "objectName": "Склад №7, ул. Ленина",
  "smscNumber": "+79168999100",
  "testSmsCode": 134,
  "pgmSeconds": 99,
  "autodialCycles": 9,
  "voiceAfterPickup": true,
  "zoneType": [true, false, true, false],
  "zoneActions": [[18, 33, 0, 0, 17, 34, 0, 0], [101, 0, 0, 0, 56, 0, 0, 0],
                  [17, 18, 19, 20, 17, 18, 19, 20], [40, 0, 0, 0, 0, 0, 0, 0]],
  "reportActions": [{"smsPhone": 1, "autodialPhone": 2, "reportTypeMask": 127, "smsLayoutMask": 55},
                    {"smsPhone": 0, "autodialPhone": 0, "reportTypeMask": 0, "smsLayoutMask": 0},
                    {"smsPhone": 8, "autodialPhone": 0, "reportTypeMask": 5, "smsLayoutMask": 32},
                    {"smsPhone": 3, "autodialPhone": 8, "reportTypeMask": 64, "smsLayoutMask": 17}],
  "zoneNames": [)"
                            R"({"name": "Вход", "sound": 1}, {"name": "Окна", "sound": 6}, {"name": "0123456789", "sound": 0},)"
                            R"({"name": "", "sound": 0}, {"name": "", "sound": 0}, {"name": "", "sound": 0}, {"name": "", "sound": 0},)"
                            R"({"name": "", "sound": 0}, {"name": "", "sound": 0}, {"name": "", "sound": 0}, {"name": "", "sound": 0},)"
                            R"({"name": "", "sound": 0}, {"name": "", "sound": 0}, {"name": "", "sound": 0}, {"name": "", "sound": 0},)"
                            R"({"name": "", "sound": 0}, {"name": "", "sound": 0}, {"name": "", "sound": 0}, {"name": "", "sound": 0},)"
                            R"({"name": "", "sound": 0}, {"name": "", "sound": 0}, {"name": "", "sound": 0}, {"name": "", "sound": 0},)"
                            R"({"name": "", "sound": 0}, {"name": "", "sound": 0}, {"name": "", "sound": 0}, {"name": "", "sound": 0},)"
                            R"({"name": "Гараж", "sound": 3}],
  "partitionNames": [{"name": "Дом", "sound": 2}, {"name": "", "sound": 0}, {"name": "", "sound": 0},
                     {"name": "", "sound": 0}, {"name": "", "sound": 0}, {"name": "", "sound": 0},
                     {"name": "", "sound": 0}, {"name": "Двор", "sound": 5}],
  "userNames": ["Иванов", "Petrov", "", "", "", "", "", "Сидорова"]
})";

class SettingsCommands : public CliTest {
protected:
    CliResult Build(const std::string& json, const std::vector<std::string>& extra = {}) {
        WriteText(At("in.json"), json);
        std::vector<std::string> args = extra;
        args.insert(args.end(), {"build", At("in.json").string(), "-o", At("out.rom").string(), "--date", "2024-02-29"});
        return Run(args);
    }
    ordered_json ShowJson(const std::string& rom, const std::vector<std::string>& extra = {}) {
        std::vector<std::string> args = extra;
        args.insert(args.end(), {"show", At(rom).string(), "--json"});
        const CliResult r = Run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        return ordered_json::parse(r.out);
    }
};

TEST_F(SettingsCommands, BuildThenShowGivesTheSettingsBack) {
    const CliResult r = Build(kFullSettings);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto image = ReadBytes(At("out.rom"));
    ASSERT_EQ(image.size(), 1120u);
    EXPECT_EQ(std::vector<std::uint8_t>(image.begin() + 1116, image.end()),
              (std::vector<std::uint8_t>{0x07, 0xE8, 2, 29}));
    EXPECT_EQ(ShowJson("out.rom"), ordered_json::parse(kFullSettings));
}

TEST_F(SettingsCommands, TextsArePackedInTheGsmAlphabet) {
    ASSERT_EQ(Build(R"({"texts": ["a_b", "{", "", "", "", ""]})").status, 0);
    const auto image = ReadBytes(At("out.rom"));
    const auto record = [&](int n, std::size_t size) {
        const auto at = image.begin() + static_cast<std::ptrdiff_t>(layout::TextOffset(n));
        return std::vector<std::uint8_t>(at, at + static_cast<std::ptrdiff_t>(size));
    };
    // "_" is septet 0x11; "{" the escape 0x1B and 0x28.
    EXPECT_EQ(record(0, 6), (std::vector<std::uint8_t>{0x03, 0x03, 0xE1, 0x88, 0x18, 0x00}));
    EXPECT_EQ(record(1, 5), (std::vector<std::uint8_t>{0x02, 0x02, 0x1B, 0x14, 0x00}));
}

TEST_F(SettingsCommands, KeysLeftOutTakeTheAllZeroImage) {
    WriteBytes(At("zeros.rom"), std::vector<std::uint8_t>(1120, 0));
    ASSERT_EQ(Build(R"({"autodialCycles": 4})").status, 0);
    ordered_json expected = ShowJson("zeros.rom");
    expected["autodialCycles"] = 4;
    // Packing always stores the test SMS group without autodial actions.
    for (int i = 4; i < 8; ++i) expected["zoneActions"][3][i] = 0;
    EXPECT_EQ(ShowJson("out.rom"), expected);
    // What an all-zero image decodes to: every action phone #1 with text
    // (or sound) #1, every report to phone #1.
    EXPECT_EQ(expected["zoneActions"][2][5], 0x11);
    EXPECT_EQ(expected["reportActions"][3]["smsPhone"], 1);
    EXPECT_EQ(expected["phones"][7], "-");

    const auto image = ReadBytes(At("out.rom"));
    EXPECT_EQ(image[109], 1);  // cycles less 3
    for (int i = 92; i < 96; ++i) EXPECT_EQ(image[i], 0xFF) << i;  // the test SMS has no autodial
}

TEST_F(SettingsCommands, CompactSettingsHaveEightTextsAndNoFullFields) {
    const char* compact = R"({"texts": ["1", "2", "3", "4", "5", "6", "Seven", "Восемь"],
                              "cyrillic": [false, false, false, false, false, false, false, true],
                              "zoneActions": [[129, 0, 0, 0, 17, 0, 0, 0], [0, 0, 0, 0, 0, 0, 0, 0],
                                              [0, 0, 0, 0, 0, 0, 0, 0], [0, 0, 0, 0, 0, 0, 0, 0]]})";
    ASSERT_EQ(Build(compact, {"--compact"}).status, 0);
    EXPECT_EQ(ReadBytes(At("out.rom")).size(), 768u);
    const ordered_json shown = ShowJson("out.rom", {"--compact"});
    EXPECT_EQ(shown["texts"], ordered_json::parse(compact)["texts"]);
    EXPECT_EQ(shown["zoneActions"][0][0], 129);  // text #8 exists on the compact module
    for (const char* key : {"objectName", "reportActions", "zoneNames", "partitionNames", "userNames"})
        EXPECT_FALSE(shown.contains(key)) << key;

    const CliResult refused = Build(R"({"userNames": []})", {"--compact"});
    EXPECT_EQ(refused.status, 4);
    EXPECT_EQ(refused.err, At("in.json").string() + ": userNames: the compact module has no such field\n");
}

TEST_F(SettingsCommands, LimitsAreAcceptedUpToTheirEdge) {
    const std::string latin68 = std::string(66, 'x') + "@$";
    const std::string septets68 = std::string(60, 'x') + "[]{}";  // 64 characters
    std::string ya;
    for (int i = 0; i < 31; ++i) ya += "я";
    const std::string json = R"({"texts": [")" + latin68 + R"(", ")" + ya + R"(", ")" + septets68 +
                             R"(", "", "", ""], "cyrillic": [false, true, false, false, false, false],
        "pgmPassword": "0123456789", "objectName": "abcdefghijklmnopqrstuvwx",
        "testSmsCode": 25, "pgmSeconds": 0, "autodialCycles": 3})";
    const CliResult r = Build(json);
    ASSERT_EQ(r.status, 0) << r.err;
    const ordered_json shown = ShowJson("out.rom");
    EXPECT_EQ(shown["texts"][0], latin68);
    EXPECT_EQ(shown["texts"][1], ya);
    EXPECT_EQ(shown["texts"][2], septets68);
    EXPECT_EQ(shown["pgmPassword"], "0123456789");
    EXPECT_EQ(shown["objectName"], "abcdefghijklmnopqrstuvwx");
}

struct Refusal {
    const char* name;
    std::string json;
    std::string message;  // after "<file>: "
};

void PrintTo(const Refusal& r, std::ostream* os) { *os << r.name; }

class BuildRefusals : public SettingsCommands, public ::testing::WithParamInterface<Refusal> {};

TEST_P(BuildRefusals, NameTheKeyAndWriteNothing) {
    WriteText(At("out.rom"), "previous build");
    const CliResult r = Build(GetParam().json);
    EXPECT_EQ(r.status, 4);
    EXPECT_EQ(r.err, At("in.json").string() + ": " + GetParam().message + "\n");
    EXPECT_EQ(ReadText(At("out.rom")), "previous build");
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(Dir())) entries += e.is_regular_file();
    EXPECT_EQ(entries, 2);  // in.json and out.rom: no temporary file left behind
}

std::string Repeat(const std::string& text, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += text;
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Cli, BuildRefusals,
    ::testing::Values(
        Refusal{"CyrillicWithoutFlag", R"({"texts": ["Привет", "", "", "", "", ""]})",
                "texts[0]: символа нет в 7-битном алфавите GSM (остальные требуют флага cyrillic): \"П\""},
        Refusal{"BacktickNotInGsm", R"({"texts": ["", "", "", "sklad`3", "", ""]})",
                "texts[3]: символа нет в 7-битном алфавите GSM (остальные требуют флага cyrillic): \"`\""},
        Refusal{"CodePageSignNotInGsm", R"({"texts": ["No. 5", "", "", "", "", "№ 5"]})",
                "texts[5]: символа нет в 7-битном алфавите GSM (остальные требуют флага cyrillic): \"№\""},
        Refusal{"LatinTooLong", R"({"texts": ["", ")" + std::string(69, 'a') + R"(", "", "", "", ""]})",
                "texts[1]: слишком длинный текст, наибольшая длина — 68 септетов (^ { } \\ [ ~ ] | € занимают по два)"},
        // 68 characters, but the euro takes two septets.
        Refusal{"LatinTooManySeptets", R"({"texts": ["", "", ")" + std::string(67, 'a') + R"(€", "", "", ""]})",
                "texts[2]: слишком длинный текст, наибольшая длина — 68 септетов (^ { } \\ [ ~ ] | € занимают по два)"},
        Refusal{"CyrillicTooLong",
                R"({"cyrillic": [false, false, true, false, false, false], "texts": ["", "", ")" +
                    std::string(32, 'a') + R"(", "", "", ""]})",
                "texts[2]: слишком длинный текст, наибольшая длина — 31"},
        Refusal{"NotInCodePage", R"({"cyrillic": [true, true, true, true, true, true], "texts": ["ѣ", "", "", "", "", ""]})",
                "texts[0]: символа нет в кодовой странице 1251: \"ѣ\""},
        Refusal{"ZeroCharacter", R"({"texts": ["a\u0000b", "", "", "", "", ""]})",
                "texts[0]: нулевой символ недопустим"},
        Refusal{"FiveTexts", R"({"texts": ["", "", "", "", ""]})", "texts: ожидается массив из 6 элементов"},
        Refusal{"TextNotAString", R"({"texts": ["", 5, "", "", "", ""]})", "texts[1]: ожидается строка"},
        Refusal{"ObjectNameTooLong", R"({"objectName": "abcdefghijklmnopqrstuvwxy"})",
                "objectName: слишком длинный текст, наибольшая длина — 24"},
        Refusal{"ZoneNameTooLong", R"({"zoneNames": [)" + Repeat(R"({"name": ""},)", 27) + R"({"name": "Kitchen-Door"}]})",
                "zoneNames[27].name: слишком длинный текст, наибольшая длина — 10"},
        Refusal{"UserNameNotAString", R"({"userNames": ["", "", "", 1, "", "", "", ""]})",
                "userNames[3]: ожидается строка"},
        Refusal{"PasswordTooLong", R"({"pgmPassword": "12345678901"})",
                "pgmPassword: слишком длинный текст, наибольшая длина — 10"},
        Refusal{"PasswordCyrillic", R"({"pgmPassword": "пароль"})",
                "pgmPassword: допустимы только 7-битные символы: \"п\""},
        Refusal{"PhoneLetters", R"({"phones": ["-", "-", "+7916abc", "-", "-", "-", "-", "-"]})",
                "phones[2]: ожидается «+» или «-» и не более 20 цифр"},
        Refusal{"PhoneWithoutMark", R"({"phones": ["79161234567", "-", "-", "-", "-", "-", "-", "-"]})",
                "phones[0]: ожидается «+» или «-» и не более 20 цифр"},
        Refusal{"PhoneTooLong", R"({"phones": ["-", "-", "-", "-", "-", "-", "-", "+123456789012345678901"]})",
                "phones[7]: ожидается «+» или «-» и не более 20 цифр"},
        Refusal{"SevenPhones", R"({"phones": ["-", "-", "-", "-", "-", "-", "-"]})",
                "phones: ожидается массив из 8 элементов"},
        Refusal{"SmscAsNumber", R"({"smscNumber": 79168999100})", "smscNumber: ожидается строка"},
        Refusal{"PgmSecondsOver", R"({"pgmSeconds": 100})", "pgmSeconds: значение вне диапазона 0..99"},
        Refusal{"PgmSecondsNegative", R"({"pgmSeconds": -1})", "pgmSeconds: значение вне диапазона 0..99"},
        Refusal{"PgmSecondsFraction", R"({"pgmSeconds": 1.5})", "pgmSeconds: ожидается целое число"},
        Refusal{"PgmSecondsText", R"({"pgmSeconds": "5"})", "pgmSeconds: ожидается целое число"},
        Refusal{"HugeNumber", R"({"pgmSeconds": 18446744073709551615})", "pgmSeconds: значение вне диапазона 0..99"},
        Refusal{"TwoCycles", R"({"autodialCycles": 2})", "autodialCycles: значение вне диапазона 3..9"},
        Refusal{"TestSmsCode", R"({"testSmsCode": 133})",
                "testSmsCode: недопустимый код (0..25, 129, 130, 131, 132, 134, 136, 140)"},
        Refusal{"VoiceAfterPickupText", R"({"voiceAfterPickup": "yes"})",
                "voiceAfterPickup: ожидается true или false"},
        Refusal{"ZoneTypeThree", R"({"zoneType": [true, false, true]})", "zoneType: ожидается массив из 4 элементов"},
        Refusal{"ActionPhoneNine",
                R"({"zoneActions": [[25, 0, 0, 0, 0, 0, 0, 0], [0, 0, 0, 0, 0, 0, 0, 0], [0, 0, 0, 0, 0, 0, 0, 0], [0, 0, 0, 0, 0, 0, 0, 0]]})",
                "zoneActions[0][0]: недопустимое действие: 0 или байт, младшая тетрада которого — телефон 1..8, а "
                "старшая — номер текста (SMS-действия) или звук 1..3 (действия автодозвона)"},
        Refusal{"ActionTextSeven",
                R"({"zoneActions": [[0, 0, 0, 0, 0, 0, 0, 0], [0, 113, 0, 0, 0, 0, 0, 0], [0, 0, 0, 0, 0, 0, 0, 0], [0, 0, 0, 0, 0, 0, 0, 0]]})",
                "zoneActions[1][1]: недопустимое действие: 0 или байт, младшая тетрада которого — телефон 1..8, а "
                "старшая — номер текста (SMS-действия) или звук 1..3 (действия автодозвона)"},
        Refusal{"ActionSoundFour",
                R"({"zoneActions": [[0, 0, 0, 0, 0, 0, 0, 0], [0, 0, 0, 0, 0, 0, 0, 0], [0, 0, 0, 0, 0, 0, 65, 0], [0, 0, 0, 0, 0, 0, 0, 0]]})",
                "zoneActions[2][6]: недопустимое действие: 0 или байт, младшая тетрада которого — телефон 1..8, а "
                "старшая — номер текста (SMS-действия) или звук 1..3 (действия автодозвона)"},
        Refusal{"ReportPhoneNine", R"({"reportActions": [{"smsPhone": 9}, {}, {}, {}]})",
                "reportActions[0].smsPhone: значение вне диапазона 0..8"},
        Refusal{"ReportLayoutBit3", R"({"reportActions": [{}, {}, {"smsLayoutMask": 8}, {}]})",
                "reportActions[2].smsLayoutMask: недопустимые биты (разрешены 0, 1, 2, 4, 5)"},
        Refusal{"ReportUnknownKey", R"({"reportActions": [{}, {"phone": 1}, {}, {}]})",
                "reportActions[1].phone: неизвестный ключ"},
        Refusal{"ReportNotAnObject", R"({"reportActions": [{}, {}, {}, 5]})",
                "reportActions[3]: ожидается объект"},
        Refusal{"NameSoundSeven",
                R"({"partitionNames": [{}, {}, {}, {}, {}, {}, {}, {"sound": 7}]})",
                "partitionNames[7].sound: значение вне диапазона 0..6"},
        Refusal{"UnknownKey", R"({"autodialCycles": 3, "phone": []})", "phone: неизвестный ключ"},
        Refusal{"NotAnObject", R"([1, 2])", "ожидается объект JSON с настройками"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsCommands, MalformedInputEndsWithAParserMessage) {
    const std::string cases[] = {R"({"phones": [)", "", "\xFF\xFE{}", R"({"texts": ["\xC0\x80"]})"};
    for (const std::string& json : cases) {
        const CliResult r = Build(json);
        EXPECT_EQ(r.status, 4) << json;
        EXPECT_TRUE(r.err.starts_with(At("in.json").string() + ": Ошибка JSON: ")) << r.err;
        EXPECT_FALSE(std::filesystem::exists(At("out.rom")));
    }
}

// 100,000 keys within the size limit: refused for its unknown keys (this
// took seconds when every key was looked up in a list of those before it).
TEST_F(SettingsCommands, AnObjectWithVeryManyKeysIsRefusedForItsUnknownKeys) {
    std::string json = "{";
    for (int n = 0; n < 100000; ++n) json += (n ? ",\"" : "\"") + std::to_string(n) + "\":0";
    json += "}";
    ASSERT_LT(json.size(), std::size_t{1} << 20);
    const CliResult r = Build(json);
    EXPECT_EQ(r.status, 4);
    EXPECT_NE(r.err.find("неизвестный ключ"), std::string::npos) << r.err.substr(0, 200);
    EXPECT_FALSE(std::filesystem::exists(At("out.rom")));
}

TEST_F(SettingsCommands, EndlessInputIsRefusedBySize) {
    const CliResult r = Run({"build", "/dev/zero", "-o", At("out.rom").string()});
    EXPECT_EQ(r.status, 4);
    EXPECT_TRUE(r.err.starts_with("Файл слишком велик: /dev/zero")) << r.err;
    EXPECT_FALSE(std::filesystem::exists(At("out.rom")));
}

TEST_F(SettingsCommands, BadDateIsAUsageError) {
    for (const char* date : {"2023-02-29", "2024-13-01", "2024-04-31", "24-01-01", "2024-1-1", "2024-01-01x"}) {
        WriteText(At("in.json"), "{}");
        const CliResult r = Run({"build", At("in.json").string(), "-o", At("out.rom").string(), "--date", date});
        EXPECT_EQ(r.status, 1) << date;
        EXPECT_EQ(r.err, std::string("--date: ожидается дата в виде ГГГГ-ММ-ДД: ") + date + "\n");
    }
    EXPECT_FALSE(std::filesystem::exists(At("out.rom")));
}

TEST_F(SettingsCommands, ShowPrintsOneLinePerValue) {
    ASSERT_EQ(Build(kFullSettings).status, 0);
    const CliResult r = Run({"show", At("out.rom").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* line : {"phones[0] = \"+79161234567\"\n", "texts[1] = \"Тревога: зона 2\"\n",
                             "cyrillic[1] = true\n", "zoneActions[1][0] = 101\n",
                             "reportActions[3].smsLayoutMask = 17\n", "zoneNames[27].name = \"Гараж\"\n",
                             "userNames[7] = \"Сидорова\"\n"}) {
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
    }
}

TEST_F(SettingsCommands, ShowRefusesFilesOfAnotherSize) {
    WriteBytes(At("short.rom"), std::vector<std::uint8_t>(100, 0));
    WriteBytes(At("full.rom"), std::vector<std::uint8_t>(1120, 0));
    const CliResult r = Run({"show", At("short.rom").string(), "--json"});
    EXPECT_EQ(r.status, 4);
    EXPECT_EQ(r.err, "Файл должен иметь размер 1120 байт: " + At("short.rom").string() + " (100)\n");
    const CliResult compact = Run({"--compact", "show", At("full.rom").string()});
    EXPECT_EQ(compact.status, 4);
    EXPECT_EQ(compact.err, "The file must be 768 bytes long: " + At("full.rom").string() + " (1120)\n");
    EXPECT_EQ(Run({"show", At("none.rom").string()}).status, 4);
}

}  // namespace
}  // namespace korvex::testing
