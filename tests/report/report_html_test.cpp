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
