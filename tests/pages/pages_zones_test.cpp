#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "model/clock.h"
#include "model/cp1251.h"
#include "model/image_codec.h"
#include "model/image_layout.h"
#include "pages/zones_page.h"
#include "ui/page_driving.h"

namespace korvex {
namespace {

class ZonesPageTest : public ::testing::TestWithParam<ModuleKind> {
protected:
    ZonesPageTest() {
        model.settings.phones = {"-4951112233", "+79160000002", "-", "-44", "-55", "-66", "-77", "+88"};
        for (int t = 0; t < kTextSlots; ++t) model.settings.texts[t] = "Text " + std::to_string(t + 1);
        page.RefreshFromModel();
        test::ShowActive(page);
    }

    bool Full() const { return GetParam() == ModuleKind::Full; }
    QString None() const { return Full() ? QStringLiteral("НЕТ") : QStringLiteral("No"); }

    template <typename T>
    T* Find(const QString& name) {
        T* found = page.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QComboBox* List(const char* name) { return Find<QComboBox>(QString::fromLatin1(name)); }
    QLineEdit* Shown(const char* name) { return Find<QLineEdit>(QString::fromLatin1(name)); }
    void Choose(int group, int action) {
        Find<QRadioButton>(QStringLiteral("group%1").arg(group + 1))->click();
        Find<QRadioButton>(QStringLiteral("action%1").arg(action + 1))->click();
        ASSERT_EQ(page.Group(), group);
        ASSERT_EQ(page.Action(), action);
    }
    std::uint8_t& Sms(int group, int action) { return model.settings.zoneActions[group][action]; }
    std::uint8_t& Autodial(int group, int action) { return model.settings.zoneActions[group][4 + action]; }

    AppModel model{ProfileFor(GetParam())};
    ZonesPage page{model};
};

TEST_P(ZonesPageTest, ListsOfferTheProfilesChoices) {
    const QString phone = Full() ? QStringLiteral("№") : QStringLiteral("#");
    QStringList phones{None()};
    for (int p = 1; p <= 8; ++p) phones << phone + QString::number(p);
    QStringList texts{None()};
    for (int t = 1; t <= model.profile.textCount; ++t) texts << QStringLiteral("#%1").arg(t);
    const QStringList sounds{None(), phone + "1", phone + "2", phone + "3"};
    const QStringList alarms = Full() ? QStringList{"Замыкание", "Обрыв"} : QStringList{"Short", "Break"};

    EXPECT_EQ(test::Entries(List("smsPhone")), phones);
    EXPECT_EQ(test::Entries(List("autodialPhone")), phones);
    EXPECT_EQ(test::Entries(List("smsText")), texts);
    EXPECT_EQ(test::Entries(List("sound")), sounds);
    EXPECT_EQ(test::Entries(List("alarm")), alarms);

    const QStringList groups = Full() ? QStringList{"Зона 1", "Зона 2", "Зона 3", "Тестовое СМС"}
                                      : QStringList{"Zone 1", "Zone 2", "Zone 3", "Test SMS"};
    for (int g = 0; g < 4; ++g) EXPECT_EQ(Find<QRadioButton>(QStringLiteral("group%1").arg(g + 1))->text(), groups[g]);
    const QString action = Full() ? QStringLiteral("Действие №") : QStringLiteral("Action #");
    for (int a = 1; a <= 4; ++a) EXPECT_EQ(Find<QRadioButton>(QStringLiteral("action%1").arg(a))->text(), action + QString::number(a));
}

TEST_P(ZonesPageTest, StartsOnZoneOneActionOneWithNothingSet) {
    EXPECT_EQ(page.Group(), 0);
    EXPECT_EQ(page.Action(), 0);
    EXPECT_TRUE(Find<QRadioButton>("group1")->isChecked());
    EXPECT_TRUE(Find<QRadioButton>("action1")->isChecked());
    EXPECT_EQ(List("smsPhone")->currentIndex(), 0);
    EXPECT_EQ(List("smsText")->currentText(), None());
    EXPECT_FALSE(List("smsText")->isEnabled());
    EXPECT_FALSE(List("sound")->isEnabled());
}

TEST_P(ZonesPageTest, PhoneForAnEmptySmsActionBringsTextOne) {
    Choose(1, 2);
    test::Pick(List("smsPhone"), 2);
    EXPECT_EQ(Sms(1, 2), 0x12);
    EXPECT_EQ(List("smsText")->currentIndex(), 1);
    EXPECT_TRUE(List("smsText")->isEnabled());
    EXPECT_EQ(Shown("smsPhoneShown")->text(), QStringLiteral("+79160000002"));  // a "+" stays
    EXPECT_EQ(Shown("smsTextShown")->text(), QStringLiteral("Text 1"));

    test::Pick(List("smsText"), 4);
    test::Pick(List("smsPhone"), 1);  // another phone keeps the chosen text
    EXPECT_EQ(Sms(1, 2), 0x41);
    EXPECT_EQ(Shown("smsPhoneShown")->text(), QStringLiteral("4951112233"));  // a "-" goes
    EXPECT_EQ(Shown("smsTextShown")->text(), QStringLiteral("Text 4"));
}

TEST_P(ZonesPageTest, NoTextRemovesThePhoneToo) {
    Sms(0, 1) = 0x35;
    Choose(0, 1);
    EXPECT_EQ(List("smsPhone")->currentIndex(), 5);
    EXPECT_EQ(List("smsText")->currentIndex(), 3);
    test::Pick(List("smsText"), 0);
    EXPECT_EQ(Sms(0, 1), 0);
    EXPECT_EQ(List("smsPhone")->currentIndex(), 0);
    EXPECT_EQ(Shown("smsPhoneShown")->text(), QString());
    EXPECT_EQ(Shown("smsTextShown")->text(), QString());
    EXPECT_FALSE(List("smsText")->isEnabled());
}

TEST_P(ZonesPageTest, NoPhoneRemovesTheWholeAction) {
    Sms(2, 3) = 0x28;
    Autodial(2, 3) = 0x37;
    Choose(2, 3);
    test::Pick(List("smsPhone"), 0);
    test::Pick(List("autodialPhone"), 0);
    EXPECT_EQ(Sms(2, 3), 0);
    EXPECT_EQ(Autodial(2, 3), 0);
    EXPECT_EQ(List("smsText")->currentText(), None());
    EXPECT_EQ(List("sound")->currentText(), None());
}

TEST_P(ZonesPageTest, SoundRules) {
    Choose(0, 3);
    EXPECT_FALSE(List("sound")->isEnabled());
    test::Pick(List("autodialPhone"), 8);
    EXPECT_EQ(Autodial(0, 3), 0x18);  // sound #1 comes with the phone
    EXPECT_EQ(List("sound")->currentIndex(), 1);
    EXPECT_EQ(Shown("autodialPhoneShown")->text(), QStringLiteral("+88"));
    test::Pick(List("sound"), 3);
    EXPECT_EQ(Autodial(0, 3), 0x38);
    test::Pick(List("sound"), 0);  // no sound removes the call
    EXPECT_EQ(Autodial(0, 3), 0);
    EXPECT_EQ(List("autodialPhone")->currentIndex(), 0);
    EXPECT_FALSE(List("sound")->isEnabled());
    EXPECT_EQ(Sms(0, 3), 0);  // the SMS action of the same number is another byte
}

TEST_P(ZonesPageTest, SoundIsReadFromBitsFourAndFive) {
    Autodial(1, 0) = 0xE3;  // bits 6 and 7 set: sound 2, phone 3
    Choose(1, 0);
    EXPECT_EQ(List("autodialPhone")->currentIndex(), 3);
    EXPECT_EQ(List("sound")->currentIndex(), 2);
    EXPECT_EQ(Autodial(1, 0), 0xE3);  // showing changes nothing
}

TEST_P(ZonesPageTest, TextsSevenAndEightOnlyWhereTheModuleHasThem) {
    Sms(0, 0) = 0x72;
    Sms(0, 1) = 0x83;
    Choose(0, 0);
    if (Full()) {
        EXPECT_EQ(List("smsText")->currentText(), None());
        EXPECT_EQ(Shown("smsTextShown")->text(), QString());
    } else {
        EXPECT_EQ(List("smsText")->currentText(), QStringLiteral("#7"));
        EXPECT_EQ(Shown("smsTextShown")->text(), QStringLiteral("Text 7"));
    }
    Choose(0, 1);
    EXPECT_EQ(List("smsText")->currentIndex(), Full() ? 0 : 8);
    EXPECT_EQ(Sms(0, 0), 0x72);  // kept as stored until the user picks
    EXPECT_EQ(Sms(0, 1), 0x83);
}

TEST_P(ZonesPageTest, TestSmsGroupOffersSmsActionsOnly) {
    auto* autodial = Find<QGroupBox>("autodialBox");
    auto* zoneType = Find<QGroupBox>("zoneTypeBox");
    Choose(3, 0);
    EXPECT_FALSE(autodial->isVisible());
    // The full module's test SMS has no alarm condition on this page; the
    // compact one's is bit 7 of byte 108 and stays editable.
    EXPECT_EQ(zoneType->isVisible(), !Full());
    if (!Full()) {
        test::Pick(List("alarm"), 1);
        EXPECT_TRUE(model.settings.zoneType[3]);
        PackImage(model.profile, model.settings, model.readImage, model.writeImage, Date{2024, 5, 1});
        EXPECT_EQ(model.writeImage[layout::kZoneTypes] & 0x80, 0x80);
    }
    test::Pick(List("smsPhone"), 4);
    EXPECT_EQ(Sms(3, 0), 0x14);
    Choose(2, 0);
    EXPECT_TRUE(autodial->isVisible());
    EXPECT_TRUE(zoneType->isVisible());
}

TEST_P(ZonesPageTest, AlarmConditionPerZone) {
    Choose(1, 0);
    test::Pick(List("alarm"), 1);
    EXPECT_EQ(model.settings.zoneType, (std::array<bool, 4>{false, true, false, false}));
    Choose(2, 2);
    EXPECT_EQ(List("alarm")->currentIndex(), 0);
    Choose(1, 3);
    EXPECT_EQ(List("alarm")->currentIndex(), 1);
    test::Pick(List("alarm"), 0);
    EXPECT_FALSE(model.settings.zoneType[1]);
}

TEST_P(ZonesPageTest, SavedActionsShowInTheirCompactedOrder) {
    Choose(1, 0);
    test::Pick(List("smsPhone"), 2);
    test::Pick(List("autodialPhone"), 5);
    Choose(1, 2);
    test::Pick(List("smsPhone"), 7);
    test::Pick(List("smsText"), 3);
    test::Pick(List("autodialPhone"), 6);
    test::Pick(List("sound"), 2);

    // Writing or saving packs the settings; the next page switch reloads.
    PackImage(model.profile, model.settings, model.readImage, model.writeImage, Date{2024, 5, 1});
    page.RefreshFromModel();
    EXPECT_EQ(page.Action(), 2);
    EXPECT_EQ(List("smsPhone")->currentIndex(), 0);  // action 3 is empty now
    Choose(1, 1);
    EXPECT_EQ(List("smsPhone")->currentIndex(), 7);
    EXPECT_EQ(List("smsText")->currentIndex(), 3);
    EXPECT_EQ(List("autodialPhone")->currentIndex(), 6);
    EXPECT_EQ(List("sound")->currentIndex(), 2);
    Choose(1, 0);
    EXPECT_EQ(List("smsPhone")->currentIndex(), 2);
    EXPECT_EQ(List("autodialPhone")->currentIndex(), 5);

    // And the image holds them in that order (image bytes are the settings minus 0x11).
    const std::size_t zone2 = layout::kZoneActions + 8;
    EXPECT_EQ(model.writeImage[zone2 + 0], 0x01);
    EXPECT_EQ(model.writeImage[zone2 + 1], 0x26);
    EXPECT_EQ(model.writeImage[zone2 + 2], 0xFF);
    EXPECT_EQ(model.writeImage[zone2 + 4], 0x04);
    EXPECT_EQ(model.writeImage[zone2 + 5], 0x15);
}

TEST_P(ZonesPageTest, RoundTripThroughTheSettings) {
    // Every group and action set through the lists, then shown by a second page.
    for (int g = 0; g < 4; ++g) {
        for (int a = 0; a < 4; ++a) {
            Choose(g, a);
            const int phone = 1 + (g * 4 + a) % 8;
            const int text = 1 + (g + a) % model.profile.textCount;
            test::Pick(List("smsPhone"), phone);
            test::Pick(List("smsText"), text);
            if (g < 3) {
                test::Pick(List("autodialPhone"), 9 - phone);
                test::Pick(List("sound"), 1 + a % 3);
            }
            EXPECT_EQ(Sms(g, a), text << 4 | phone);
            EXPECT_EQ(Autodial(g, a), g < 3 ? (1 + a % 3) << 4 | (9 - phone) : 0);
        }
    }
    const ConfigSettings stored = model.settings;
    ZonesPage other(model);
    const auto pick = [&](const char* name) { return other.findChild<QComboBox*>(QString::fromLatin1(name))->currentIndex(); };
    for (int g = 0; g < 4; ++g) {
        for (int a = 0; a < 4; ++a) {
            other.findChild<QRadioButton*>(QStringLiteral("group%1").arg(g + 1))->click();
            other.findChild<QRadioButton*>(QStringLiteral("action%1").arg(a + 1))->click();
            EXPECT_EQ(pick("smsPhone"), stored.zoneActions[g][a] & 0x0F);
            EXPECT_EQ(pick("smsText"), stored.zoneActions[g][a] >> 4);
            EXPECT_EQ(pick("autodialPhone"), stored.zoneActions[g][4 + a] & 0x0F);
            EXPECT_EQ(pick("sound"), stored.zoneActions[g][4 + a] >> 4);
        }
    }
    EXPECT_EQ(model.settings, stored);
}

INSTANTIATE_TEST_SUITE_P(Programs, ZonesPageTest, ::testing::Values(ModuleKind::Full, ModuleKind::Compact),
                         test::KindTestName);

}  // namespace
}  // namespace korvex
