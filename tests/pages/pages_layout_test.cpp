// Every page fits the main window's page area and no caption is cut, in
// both programs' languages. With KORVEX_SCREENSHOT_DIR set, each page is
// also saved there as a PNG (the screenshots under docs/ come from here).
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "model/cp1251.h"
#include "pages/messages_page.h"
#include "pages/phones_page.h"
#include "pages/properties_page.h"
#include "pages/zones_page.h"
#include "ui/page_driving.h"
#include "ui/screenshot.h"

namespace korvex {
namespace {

// A configured module, so that every control shows something.
void FillSample(ConfigSettings& s, ModuleKind kind) {
    const bool full = kind == ModuleKind::Full;
    s.phones = {"+79161234567", "-4957654321", "+79035550101", "-", "-", "-", "-", "-"};
    s.texts[0] = "Alarm: zone 1 (front door)";
    s.texts[1] = Utf8ToCp1251(full ? "Тревога: зона 2 (окна)" : "Alarm: zone 2 (windows)").bytes;
    s.cyrillic[1] = full;
    s.textLimit[1] = TextLimit(full);
    s.texts[2] = "Fire alarm, zone 3";
    s.texts[3] = "Test SMS: module OK";
    s.objectName = full ? "dacha@example.org" : "";
    s.pgmPassword = "1234";
    s.pgmSeconds = 5;
    s.smscNumber = "+79168999100";
    s.autodialCycles = 5;
    s.testSmsCode = 12;
    s.voiceAfterPickup = true;
    s.zoneActions[0] = {0x11, 0x22, 0, 0, 0x11, 0x23, 0, 0};
    s.zoneActions[3] = {0x41, 0, 0, 0, 0, 0, 0, 0};
    s.zoneType = {false, true, false, false};
}

struct PageKind {
    const char* name;
    std::function<std::unique_ptr<Page>(AppModel&)> make;
};

const PageKind kPages[] = {
    {"properties", [](AppModel& m) { return std::make_unique<PropertiesPage>(m); }},
    {"messages", [](AppModel& m) { return std::make_unique<MessagesPage>(m); }},
    {"phones", [](AppModel& m) { return std::make_unique<PhonesPage>(m); }},
    {"zones", [](AppModel& m) { return std::make_unique<ZonesPage>(m); }},
};

class PageLayout : public ::testing::TestWithParam<std::tuple<ModuleKind, int>> {};

TEST_P(PageLayout, FitsAndNoCaptionIsCut) {
    const auto [kind, index] = GetParam();
    const PageKind& kindOfPage = kPages[index];
    AppModel model(ProfileFor(kind));
    FillSample(model.settings, kind);
    std::unique_ptr<Page> page = kindOfPage.make(model);
    page->RefreshFromModel();
    test::ShowActive(*page);

    const QSize needed = page->minimumSizeHint();
    EXPECT_LE(needed.width(), test::kPageSize.width());
    EXPECT_LE(needed.height(), test::kPageSize.height());

    const QRect area(QPoint(0, 0), test::kPageSize);
    for (QWidget* child : page->findChildren<QWidget*>()) {
        if (!child->isVisible()) continue;
        const QRect where(child->mapTo(page.get(), QPoint(0, 0)), child->size());
        EXPECT_TRUE(area.contains(where)) << child->metaObject()->className() << " " << child->objectName().toStdString();
        QString caption;
        if (auto* label = qobject_cast<QLabel*>(child)) caption = label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(child)) caption = button->text();
        if (caption.isEmpty() && !qobject_cast<QComboBox*>(child)) continue;
        auto* label = qobject_cast<QLabel*>(child);
        if (label && label->wordWrap()) {
            EXPECT_GE(child->height(), label->heightForWidth(child->width())) << caption.toStdString();
        } else {
            EXPECT_GE(child->width(), child->sizeHint().width()) << caption.toStdString();
            EXPECT_GE(child->height(), child->minimumSizeHint().height()) << caption.toStdString();
        }
    }

    if (const QString dir = qEnvironmentVariable("KORVEX_SCREENSHOT_DIR"); !dir.isEmpty()) {
        const QString program = kind == ModuleKind::Full ? QStringLiteral("korvex") : QStringLiteral("tamlo");
        EXPECT_TRUE(test::SaveScreenshot(*page, QStringLiteral("%1/%2-%3-page.png").arg(dir, program, kindOfPage.name)));
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, PageLayout,
                         ::testing::Combine(::testing::Values(ModuleKind::Full, ModuleKind::Compact),
                                            ::testing::Range(0, static_cast<int>(std::size(kPages)))),
                         [](const auto& info) {
                             return std::string(test::KindName(std::get<0>(info.param))) + "_" +
                                    kPages[std::get<1>(info.param)].name;
                         });

}  // namespace
}  // namespace korvex
