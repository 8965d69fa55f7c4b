// The comparison: settings pairs against the rows it reports, labelled and
// valued as the pages show them; and taking a row's setting across.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/cp1251.h"
#include "model/image_codec.h"
#include "model/sample_settings.h"
#include "model/settings_rows.h"

namespace korvex {
namespace {

using test::EveryField;

struct Row {
    std::string page, field, left, right;
    bool operator==(const Row&) const = default;
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << "{" << row.page << " | " << row.field << " | " << row.left << " | " << row.right << "}";
}

std::vector<Row> Rows(const std::vector<DiffRow>& diff) {
    std::vector<Row> rows;
    for (const DiffRow& d : diff) rows.push_back({d.page, d.field, d.left, d.right});
    return rows;
}

struct DiffCase {
    const char* name;
    const Profile& (*profile)();
    void (*edit)(ConfigSettings&);
    std::vector<Row> expected;
};

const DiffCase kCases[] = {
    {"Equal", FullProfile, [](ConfigSettings&) {}, {}},
    {"Phone", FullProfile, [](ConfigSettings& s) { s.phones[2] = "+79160000000"; },
     {{"Телефоны", "Телефон #3", "+", "+79160000000"}}},
    {"PhoneMarkOnly", CompactProfile, [](ConfigSettings& s) { s.phones[0] = "-79031234567"; },
     {{"Phones", "Phone #1", "+79031234567", "79031234567"}}},
    {"TextAndAlphabet", FullProfile,
     [](ConfigSettings& s) {
         s.texts[1] = "\xCF\xEE\xE6\xE0\xF0";  // "Пожар" in code page 1251
         s.cyrillic[1] = true;
     },
     {{"Сообщения", "#2 / Текст сообщения", "", "Пожар"},
      {"Сообщения", "#2 / Принимает ли телефон кириллицу?", "Нет", "Да"}}},
    // Text #8 is beyond the full module's six: the page shows no choice.
    {"ZoneSmsAction", FullProfile, [](ConfigSettings& s) { s.zoneActions[1][0] = 0x23; },
     {{"Зоны", "Зона 2 / Действие №1 / СМС / Телефон", "№2", "№3"},
      {"Зоны", "Зона 2 / Действие №1 / СМС / СМС", "", "#2"}}},
    {"ZoneAutodialSound", CompactProfile, [](ConfigSettings& s) { s.zoneActions[0][4] = 0x38; },
     {{"Zones", "Zone 1 / Action #1 / Autocall / Sound", "#1", "#3"}}},
    {"ZoneType", FullProfile, [](ConfigSettings& s) { s.zoneType[1] = true; },
     {{"Зоны", "Зона 2 / Тип зоны / Тревога при", "Замыкание", "Обрыв"}}},
    // The full module's test SMS has no zone type on its page; the compact one's has.
    {"TestSmsZoneTypeFull", FullProfile, [](ConfigSettings& s) { s.zoneType[3] = false; }, {}},
    {"TestSmsZoneTypeCompact", CompactProfile, [](ConfigSettings& s) { s.zoneType[3] = false; },
     {{"Zones", "Test SMS / Zone type / Alarm at", "Break", "Short"}}},
    {"ObjectName", FullProfile, [](ConfigSettings& s) { s.objectName = "Office"; },
     {{"Свойства", "Название объекта / Email", "Warehouse 7 / a@b.exampl", "Office"}}},
    {"TriggerAndTestSms", FullProfile,
     [](ConfigSettings& s) {
         s.pgmSeconds = 0;
         s.testSmsCode = 7;
     },
     {{"Свойства", "Длительность активации PGM (сек)", "42", "Триггерный режим"},
      {"Свойства", "Период тестового СМС", "6 часов", "Один раз в сутки, Время 07:00"}}},
    {"ComSpeedIsNotTheModules", FullProfile, [](ConfigSettings& s) { s.comSpeed = 1; }, {}},
    {"ReportAction", FullProfile,
     [](ConfigSettings& s) {
         s.reportActions[1].reportTypeMask |= 0x20;
         s.reportActions[1].smsLayoutMask = 0x20;
         s.reportActions[3].autodialPhone = 1;
     },
     {{"Коммуникатор", "Действие №2 / СМС / Язык", "ПсевдоРусский", "Русский"},
      {"Коммуникатор", "Действие №2 / Типы отчетов / Наблюдение (2xx)", "Нет", "Да"},
      {"Коммуникатор", "Действие №4 / Автодозвон / Телефон", "НЕТ", "Телефон #1"}}},
    // Mask bits no box shows are left out.
    {"HiddenMaskBits", FullProfile,
     [](ConfigSettings& s) {
         s.reportActions[0].reportTypeMask |= 0x80;
         s.reportActions[0].smsLayoutMask |= 0xC8;
     },
     {}},
    {"Names", FullProfile,
     [](ConfigSettings& s) {
         s.zoneNames[4].sound = 6;
         s.userNames[0] = "Boss";
     },
     {{"Обозначения", "Назв. Зоны №5 / Звук", "Wav 4", "Wav 6"},
      {"Обозначения", "Пользователь №1", "User 1", "Boss"}}},
};

class CompareSettingsCase : public ::testing::TestWithParam<DiffCase> {};

TEST_P(CompareSettingsCase, ReportsTheFieldsThatShowDifferently) {
    const DiffCase& c = GetParam();
    const Profile& profile = c.profile();
    const ConfigSettings left = EveryField(profile);
    ConfigSettings right = left;
    c.edit(right);
    EXPECT_EQ(Rows(CompareSettings(left, right, profile)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Pairs, CompareSettingsCase, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CompareSettings, EverythingDiffersOnEveryRowOfTheFullPages) {
    const Profile& profile = FullProfile();
    const ConfigSettings every = EveryField(profile);
    const std::vector<DiffRow> diff = CompareSettings(every, ConfigSettings(), profile);
    const std::vector<SettingRow> rows = DescribeSettings(every, profile);
    // Each page appears, and no row claims a difference it does not show.
    for (const char* page : {"Телефоны", "Сообщения", "Зоны", "Свойства", "Коммуникатор", "Обозначения"})
        EXPECT_TRUE(std::any_of(diff.begin(), diff.end(), [&](const DiffRow& d) { return d.page == page; })) << page;
    for (const DiffRow& d : diff) EXPECT_NE(d.left, d.right) << d.field;
    EXPECT_LT(diff.size(), rows.size());  // e.g. phone #4 is empty on both sides
    EXPECT_EQ(rows.size(), DescribeSettings(ConfigSettings(), profile).size());
}

// A 7-bit text comes back from the module through the GSM alphabet: "_",
// "§", "€" and the extension table's characters show as a phone shows them.
TEST(CompareSettings, SevenBitTextsShowAsTheGsmAlphabetReadsThem) {
    for (const Profile* profile : {&FullProfile(), &CompactProfile()}) {
        const std::string shown = "5\xE2\x82\xAC {A}_\xC2\xA7@ [x]~|^\\ <b>&";  // 5€ {A}_§@ [x]~|^\ <b>&
        ConfigSettings edited;
        edited.texts[0] = Utf8ToCp1251(shown).bytes;
        edited.cyrillic[0] = false;
        std::vector<std::uint8_t> image(profile->imageSize, 0);
        PackImage(*profile, edited, std::vector<std::uint8_t>(profile->imageSize, 0), image, Date{2026, 12, 9});
        ConfigSettings module;
        UnpackImage(*profile, image, module);
        const std::vector<DiffRow> diff = CompareSettings(ConfigSettings(), module, *profile);
        ASSERT_FALSE(diff.empty()) << profile->name;
        EXPECT_EQ(diff[0].field, profile->kind == ModuleKind::Full ? "#1 / Текст сообщения" : "#1 / Message text");
        EXPECT_EQ(diff[0].right, shown) << profile->name;
        EXPECT_TRUE(CompareSettings(edited, module, *profile).empty()) << profile->name;
    }
}

TEST(CompareSettings, CompactPagesHaveNoCommunicatorNamesOrObjectName) {
    const Profile& profile = CompactProfile();
    for (const SettingRow& row : DescribeSettings(EveryField(FullProfile()), profile)) {
        EXPECT_NE(row.ref.kind, SettingKind::ObjectName);
        EXPECT_NE(row.ref.kind, SettingKind::ReportType);
        EXPECT_NE(row.ref.kind, SettingKind::ZoneName);
    }
}

// Taking every differing row from the other side leaves nothing to compare.
TEST(TakeSetting, TakingEveryRowMakesBothSidesShowTheSame) {
    for (const Profile* profile : {&FullProfile(), &CompactProfile()}) {
        const ConfigSettings module = EveryField(*profile);
        ConfigSettings edited;
        for (const DiffRow& row : CompareSettings(edited, module, *profile)) TakeSetting(edited, module, row.ref);
        EXPECT_TRUE(CompareSettings(edited, module, *profile).empty()) << profile->name;
    }
}

TEST(TakeSetting, TakesOneSettingAndLeavesTheRest) {
    const Profile& profile = FullProfile();
    const ConfigSettings module = EveryField(profile);
    ConfigSettings edited;
    TakeSetting(edited, module, {SettingKind::ReportType, 0, 3});
    TakeSetting(edited, module, {SettingKind::Cyrillic, 2});
    EXPECT_EQ(edited.reportActions[0].reportTypeMask, 0x08);
    EXPECT_TRUE(edited.cyrillic[2]);
    EXPECT_EQ(edited.textLimit[2], kCyrillicTextLimit);
    EXPECT_EQ(edited.phones, ConfigSettings().phones);
}

}  // namespace
}  // namespace korvex
