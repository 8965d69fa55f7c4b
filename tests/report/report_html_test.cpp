// The as-commissioned report: what it holds, and that nothing from the
// module can break out of its cell.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/cp1251.h"
#include "model/image_codec.h"
#include "model/sample_settings.h"
#include "report/report_html.h"
#include "report/voice_rows.h"

namespace korvex {
namespace {

using test::EveryField;

constexpr Date kDay{2026, 12, 9};

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(EscapeHtml, ReplacesEveryMarkupCharacter) {
    EXPECT_EQ(EscapeHtml("<b>\"R&D\" 'x'</b>"), "&lt;b&gt;&quot;R&amp;D&quot; &#39;x&#39;&lt;/b&gt;");
    EXPECT_EQ(EscapeHtml("Склад 7"), "Склад 7");
}

TEST(RenderReportHtml, EscapesWhatComesFromTheModule) {
    ConfigSettings settings = EveryField(FullProfile());
    settings.objectName = "<script>x</script>";
    settings.texts[0] = "A&B <i>";
    settings.userNames[0] = "\"O'Neil\"";
    LogRow row{"1", "12:00", "09 декабрь", "<ID>", "01", "Тревога & <b>", " "};
    const std::vector<LogRow> log{row};
    const std::string html = RenderReportHtml(
        {.profile = FullProfile(), .settings = settings, .programVersion = "<1>", .date = kDay, .log = log});
    EXPECT_EQ(html.find("<script>"), std::string::npos);
    EXPECT_EQ(html.find("<i>"), std::string::npos);
    EXPECT_EQ(html.find("<ID>"), std::string::npos);
    EXPECT_EQ(html.find("<1>"), std::string::npos);
    EXPECT_NE(html.find("<td>&lt;script&gt;x&lt;/script&gt;</td>"), std::string::npos);
    EXPECT_NE(html.find("<td>A&amp;B &lt;i&gt;</td>"), std::string::npos);
    EXPECT_NE(html.find("<td>&quot;O&#39;Neil&quot;</td>"), std::string::npos);
    EXPECT_NE(html.find("<td>Тревога &amp; &lt;b&gt;</td>"), std::string::npos);
    // Every element the report opens it closes: nothing leaked in as markup.
    EXPECT_EQ(Count(html, "<td>"), Count(html, "</td>"));
    EXPECT_EQ(Count(html, "<tr>"), Count(html, "</tr>"));
}

// A 7-bit text read from the module shows its GSM characters, escaped.
TEST(RenderReportHtml, ShowsSevenBitTextsAsThePhoneDoes) {
    const Profile& profile = CompactProfile();
    ConfigSettings settings;
    settings.texts[2] = Utf8ToCp1251("\xE2\x82\xAC{1}_\xC2\xA7 <b>&").bytes;  // €{1}_§ <b>&
    std::vector<std::uint8_t> image(profile.imageSize, 0);
    PackImage(profile, settings, std::vector<std::uint8_t>(profile.imageSize, 0), image, kDay);
    ConfigSettings module;
    UnpackImage(profile, image, module);
    const std::string html =
        RenderReportHtml({.profile = profile, .settings = module, .programVersion = "", .date = kDay, .log = {}});
    EXPECT_NE(html.find("<td>#3 / Message text</td><td>\xE2\x82\xAC{1}_\xC2\xA7 &lt;b&gt;&amp;</td>"),
              std::string::npos);
}

TEST(RenderReportHtml, HoldsTheModuleDateEveryPageVoiceAndLog) {
    const Profile& profile = FullProfile();
    VoiceStore voice(profile);
    voice.slotLength[0] = 11025;
    voice.slotRate[0] = 22050;
    const std::vector<LogRow> log{{"1", "08:15", "09 декабрь", "1234", "01", "Постановка", "02"}};
    const std::string html = RenderReportHtml({.profile = profile,
                                               .settings = EveryField(profile),
                                               .programVersion = "1.04",
                                               .date = kDay,
                                               .voice = &voice,
                                               .log = log});
    for (const char* expected :
         {"<td>Версия программы</td><td>1.04</td>", "<td>Дата</td><td>09.12.2026</td>", "<h2>Телефоны</h2>",
          "<h2>Сообщения</h2>", "<h2>Зоны</h2>", "<h2>Свойства</h2>", "<h2>Коммуникатор</h2>", "<h2>Обозначения</h2>",
          "<td>Телефон #1</td><td>+79031234567</td>", "<td>#3 / Принимает ли телефон кириллицу?</td><td>Да</td>",
          "<td>Зона 1 / Действие №2 / СМС / СМС</td><td>#2</td>", "<td>Звук 1</td><td>11025 байт, 4,0 с</td>",
          "<td>Звук 2</td><td>0 байт</td>", "<h2>Журнал событий</h2>", "<td>Постановка</td>"})
        EXPECT_NE(html.find(expected), std::string::npos) << expected;
    EXPECT_EQ(html.find("http"), std::string::npos);  // self-contained
}

TEST(RenderReportHtml, ProjectReportOfTheCompactModuleHasNoVoiceLogOrVersion) {
    const Profile& profile = CompactProfile();
    const std::string html =
        RenderReportHtml({.profile = profile, .settings = EveryField(profile), .programVersion = "", .date = kDay, .log = {}});
    EXPECT_NE(html.find("<h2>Properties</h2>"), std::string::npos);
    EXPECT_NE(html.find("<td>#8 / Message text</td>"), std::string::npos);
    EXPECT_EQ(html.find("Program version"), std::string::npos);
    EXPECT_EQ(html.find("Voice messages"), std::string::npos);
    EXPECT_EQ(html.find("Event log"), std::string::npos);
}

// The sheet a customer is handed opens with the object and the date, and
// tells which project and which module it shows.
TEST(RenderReportHtml, OpensWithTheObjectAndDateAndNamesTheProject) {
    const Profile& profile = FullProfile();
    const ConfigSettings settings = EveryField(profile);
    const std::string html = RenderReportHtml(
        {.profile = profile, .settings = settings, .programVersion = "1.04", .date = kDay, .project = "site.rom"});
    std::size_t at = 0;
    for (const char* expected :
         {"<td>Объект</td><td>Warehouse 7 / a@b.exampl</td>", "<td>Дата</td><td>09.12.2026</td>", "<td>Модуль</td>",
          "<td>Версия программы</td><td>1.04</td>", "<td>Проект</td><td>site.rom</td>", "<h2>Телефоны</h2>"}) {
        const std::size_t found = html.find(expected, at);
        ASSERT_NE(found, std::string::npos) << expected << " missing or out of order";
        at = found;
    }
    const std::string unsaved =
        RenderReportHtml({.profile = profile, .settings = settings, .programVersion = "", .date = kDay});
    EXPECT_NE(unsaved.find("<td>Проект</td><td>не сохранён в файл</td>"), std::string::npos);
    // The browser's page ends with the foot line; the paged form draws its own.
    EXPECT_NE(html.find("<div class=\"foot\">Проект: site.rom"), std::string::npos);
    const std::string paged = RenderReportHtml(
        {.profile = profile, .settings = settings, .programVersion = "1.04", .date = kDay, .project = "site.rom"},
        ReportForm::Paged);
    EXPECT_EQ(paged.find("<div class=\"foot\">"), std::string::npos);
}

TEST(ReportFoot, NamesTheProjectAndTheModule) {
    const struct {
        const Profile& profile;
        std::string version;
        std::string project;
        std::string foot;
    } cases[] = {
        {FullProfile(), "1.04", "site.rom",
         "Проект: site.rom \u00B7 Модуль: Сотовый автодозвон (полный) \u00B7 Версия программы: 1.04 \u00B7 Объект: "
         "Warehouse 7 / a@b.exampl"},
        {CompactProfile(), "", "", "Project: not saved to a file \u00B7 Module: GSM auto-dialer, 4 zones (compact)"},
    };
    for (const auto& c : cases) {
        const ConfigSettings settings = EveryField(c.profile);
        EXPECT_EQ(ReportFoot({.profile = c.profile,
                              .settings = settings,
                              .programVersion = c.version,
                              .date = kDay,
                              .project = c.project}),
                  c.foot);
    }
    EXPECT_EQ(ReportPageNumber(ModuleKind::Full, 2, 5), "стр. 2 из 5");
    EXPECT_EQ(ReportPageNumber(ModuleKind::Compact, 1, 1), "page 1 of 1");
}

// A phone choice shows the number it calls; a phone box ticked "+" with no
// digits calls nobody, and the report says so.
TEST(RenderReportHtml, ShowsTheNumberOfEveryPhoneChoice) {
    const Profile& profile = FullProfile();
    const std::string html =
        RenderReportHtml({.profile = profile, .settings = EveryField(profile), .programVersion = "", .date = kDay});
    for (const char* expected : {
             "<td>Зона 1 / Действие №1 / СМС / Телефон</td><td>№1 (+79031234567)</td>",
             "<td>Зона 1 / Действие №1 / Автодозвон / Телефон</td><td>№8 (0)</td>",
             "<td>Зона 1 / Действие №2 / СМС / Телефон</td><td>№3 (номер не задан)</td>",
             "<td>Зона 1 / Действие №2 / Автодозвон / Телефон</td><td>№2 (84951234567)</td>",
             "<td>Зона 1 / Действие №2 / Автодозвон / Звук</td><td>№2</td>",  // a sound, not a phone
             "<td>Действие №1 / СМС / Телефон</td><td>Телефон #1 (+79031234567)</td>",
             "<td>Действие №1 / Автодозвон / Телефон</td><td>Телефон #2 (84951234567)</td>",
         })
        EXPECT_NE(html.find(expected), std::string::npos) << expected;
}

// Where a group has several settings off they share one line: an action or
// box whose settings are all off is named once; a group with one setting
// off keeps its row.
TEST(RenderReportHtml, FoldsTheSettingsThatAreOffIntoOneLinePerGroup) {
    const struct {
        const Profile& profile;
        std::vector<std::string> present;
        std::vector<std::string> absent;
    } cases[] = {
        {FullProfile(),
         {"<td>Зона 1: Действие №4 / Автодозвон</td><td>НЕТ</td>",
          "<td>Зона 2: Действие №2 / СМС; Действие №3; Действие №4</td><td>НЕТ</td>",
          "<td>Тестовое СМС: Действие №3; Действие №4</td><td>НЕТ</td>",
          // Clear boxes ("Нет") and no phone ("НЕТ") in one line: the report's word.
          "<td>Действие №4: СМС / Телефон; Типы отчетов; Вид СМС; Автодозвон</td><td>НЕТ</td>",
          "<td>Действие №2: Типы отчетов / Восстановления (1xx); ", "; Вид СМС; Автодозвон</td><td>НЕТ</td>",
          "<td>#1 / Принимает ли телефон кириллицу?</td><td>Нет</td>"},
         {"<td>Зона 2 / Действие №3 / СМС / Телефон</td>", "<td>Зона 1 / Действие №4 / Автодозвон / Звук</td>",
          "<td>Действие №4 / Типы отчетов / Тревоги (1xx)</td>", "Зона 3: Действие №1", "<td>Действие №1:"}},
        {CompactProfile(),
         {"<td>Zone 2: Action #2 / SMS; Action #3; Action #4</td><td>No</td>"},
         {"<td>Zone 2 / Action #3 / SMS / Phone</td>"}},
    };
    for (const auto& c : cases) {
        const std::string html = RenderReportHtml(
            {.profile = c.profile, .settings = EveryField(c.profile), .programVersion = "", .date = kDay});
        for (const std::string& expected : c.present) EXPECT_NE(html.find(expected), std::string::npos) << expected;
        for (const std::string& unexpected : c.absent)
            EXPECT_EQ(html.find(unexpected), std::string::npos) << unexpected;
    }
}

TEST(ProgramVersionOf, ReadsBytes16To19UpToAZero) {
    std::vector<std::uint8_t> image(1120, 0);
    image[16] = '1';
    image[17] = '.';
    image[18] = '4';
    EXPECT_EQ(ProgramVersionOf(image, FullProfile()), "1.4");
    EXPECT_EQ(ProgramVersionOf(image, CompactProfile()), "");
    EXPECT_EQ(ProgramVersionOf(std::vector<std::uint8_t>(10, '1'), FullProfile()), "");
}

TEST(CompareModule, AddsVoiceSlotsOnlyWhereBothSidesHaveADirectory) {
    const Profile& profile = CompactProfile();
    const ConfigSettings settings = EveryField(profile);
    VoiceStore file(profile), module(profile);
    file.slotRate.assign(3, 22050);
    module.slotRate.assign(3, 22050);
    module.slotLength[2] = 2205;
    const std::vector<DiffRow> diff = CompareModule(settings, &file, settings, &module, profile);
    ASSERT_EQ(diff.size(), 1u);
    EXPECT_EQ(diff[0].page, "File");
    EXPECT_EQ(diff[0].field, "# 3");
    EXPECT_EQ(diff[0].left, "0 bytes");
    EXPECT_EQ(diff[0].right, "2205 bytes, 0.8 s");
    EXPECT_TRUE(CompareModule(settings, nullptr, settings, &module, profile).empty());
}

}  // namespace
}  // namespace korvex
