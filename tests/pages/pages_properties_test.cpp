#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "model/cp1251.h"
#include "pages/properties_page.h"
#include "app/app_flags.h"
#include "widgets/digit_edit.h"
#include "widgets/translit_edit.h"
#include "ui/key_input.h"
#include "ui/page_driving.h"

namespace korvex {
namespace {

class PropertiesPageTest : public ::testing::TestWithParam<ModuleKind> {
protected:
    PropertiesPageTest() { SetCyrillicAllowed(0); }
    ~PropertiesPageTest() override { SetCyrillicAllowed(0); }

    bool Full() const { return GetParam() == ModuleKind::Full; }
    QLineEdit* Edit(const char* name) { return page.findChild<QLineEdit*>(QString::fromLatin1(name)); }
    QComboBox* List(const char* name) { return page.findChild<QComboBox*>(QString::fromLatin1(name)); }
    QCheckBox* Trigger() { return page.findChild<QCheckBox*>(QStringLiteral("trigger")); }

    void Type(QLineEdit* edit, const QString& text, bool replace = true) {
        test::Enter(edit);
        if (replace) edit->selectAll();
        if (replace) QTest::keyClick(edit, Qt::Key_Backspace);
        test::TypeText(edit, text);
        test::Leave(edit);
    }

    AppModel model{ProfileFor(GetParam())};
    PropertiesPage page{model};
};

struct TestSmsCase {
    std::uint8_t code;
    int entry;
    const char* hour;
    bool hourEnabled;
};

// Every code the list knows, both ends of the daily hours, and codes it does not know.
const TestSmsCase kTestSmsCases[] = {
    {25, 0, "00", false},   {0, 1, "00", true},     {7, 1, "07", true},     {24, 1, "24", true},
    {0x81, 2, "00", false}, {0x82, 3, "00", false}, {0x83, 4, "00", false}, {0x84, 5, "00", false},
    {0x86, 6, "00", false}, {0x88, 7, "00", false}, {0x8C, 8, "00", false}, {26, 0, "00", false},
    {0x80, 0, "00", false}, {0x85, 0, "00", false}, {0x8D, 0, "00", false}, {0xFF, 0, "00", false},
};

TEST_P(PropertiesPageTest, TestSmsCodesShowAsTheirEntries) {
    for (const TestSmsCase& c : kTestSmsCases) {
        SCOPED_TRACE(c.code);
        model.settings.testSmsCode = c.code;
        page.RefreshFromModel();
        EXPECT_EQ(List("testSms")->currentIndex(), c.entry);
        EXPECT_EQ(Edit("hour")->text(), QString::fromLatin1(c.hour));
        EXPECT_EQ(Edit("hour")->isEnabled(), c.hourEnabled);
        EXPECT_EQ(PropertiesPage::TestSmsEntry(c.code), c.entry);
        EXPECT_EQ(model.settings.testSmsCode, c.code);  // showing changes nothing
    }
}

TEST_P(PropertiesPageTest, PickingAnEntryStoresItsCode) {
    test::ShowActive(page);
    const std::uint8_t codes[] = {25, 0, 0x81, 0x82, 0x83, 0x84, 0x86, 0x88, 0x8C};
    for (int entry = 0; entry < 9; ++entry) {
        model.settings.testSmsCode = 0x85;  // unknown until the user picks
        test::Pick(List("testSms"), entry);
        EXPECT_EQ(model.settings.testSmsCode, codes[entry]) << entry;
        EXPECT_EQ(Edit("hour")->isEnabled(), entry == 1);
        EXPECT_EQ(Edit("hour")->text(), entry == 1 ? QStringLiteral("0") : QString());
    }
    // Daily: the hour typed is the code; above 24 cannot be typed.
    test::Pick(List("testSms"), 1);
    Type(Edit("hour"), QStringLiteral("17"));
    EXPECT_EQ(model.settings.testSmsCode, 17);
    Type(Edit("hour"), QStringLiteral("25"));
    EXPECT_EQ(Edit("hour")->text(), QStringLiteral("2"));
    EXPECT_EQ(model.settings.testSmsCode, 2);
}

TEST_P(PropertiesPageTest, UnknownCodeIsKeptThroughFocusPasses) {
    model.settings.testSmsCode = 0x85;
    page.RefreshFromModel();
    test::ShowActive(page);
    for (QLineEdit* edit : page.findChildren<QLineEdit*>()) {
        if (!edit->isEnabled() || !edit->isVisible()) continue;
        test::Enter(edit);
        test::Leave(edit);
    }
    page.RefreshFromModel();
    EXPECT_EQ(model.settings.testSmsCode, 0x85);
    EXPECT_EQ(List("testSms")->currentIndex(), 0);
}

TEST_P(PropertiesPageTest, TriggerBoxAndDuration) {
    model.settings.pgmSeconds = 5;
    page.RefreshFromModel();
    test::ShowActive(page);
    EXPECT_EQ(Edit("duration")->text(), QStringLiteral("05"));
    EXPECT_FALSE(Trigger()->isChecked());
    EXPECT_TRUE(Edit("duration")->isEnabled());

    Type(Edit("duration"), QStringLiteral("0"));  // 0 is trigger mode
    EXPECT_EQ(model.settings.pgmSeconds, 0);
    EXPECT_TRUE(Trigger()->isChecked());
    EXPECT_FALSE(Edit("duration")->isEnabled());

    Trigger()->click();  // cleared: one second
    EXPECT_EQ(model.settings.pgmSeconds, 1);
    EXPECT_EQ(Edit("duration")->text(), QStringLiteral("1"));
    EXPECT_TRUE(Edit("duration")->isEnabled());

    Type(Edit("duration"), QStringLiteral("995"));  // two digits at most
    EXPECT_EQ(model.settings.pgmSeconds, 99);
    EXPECT_FALSE(Trigger()->isChecked());

    Trigger()->click();
    EXPECT_EQ(model.settings.pgmSeconds, 0);
    EXPECT_EQ(Edit("duration")->text(), QStringLiteral("0"));
    EXPECT_FALSE(Edit("duration")->isEnabled());

    model.settings.pgmSeconds = 0;
    page.RefreshFromModel();
    EXPECT_EQ(Edit("duration")->text(), QStringLiteral("00"));
    EXPECT_TRUE(Trigger()->isChecked());
}

TEST_P(PropertiesPageTest, ErasedDurationIsShownWholeAndKept) {
    model.settings.pgmSeconds = 255;
    page.RefreshFromModel();
    test::ShowActive(page);
    EXPECT_EQ(Edit("duration")->text(), QStringLiteral("255"));
    test::Enter(Edit("duration"));
    test::Leave(Edit("duration"));
    EXPECT_EQ(model.settings.pgmSeconds, 255);
}

TEST_P(PropertiesPageTest, AutodialCyclesRefuseDigitsBelowThree) {
    auto* cycles = page.findChild<DigitEdit*>(QStringLiteral("cycles"));
    ASSERT_NE(cycles, nullptr);
    EXPECT_EQ(cycles->maxLength(), 1);
    for (const std::uint8_t stored : {0, 1, 2, 10, 255}) {
        model.settings.autodialCycles = stored;
        page.RefreshFromModel();
        EXPECT_EQ(cycles->text(), QStringLiteral("3")) << int(stored);
    }
    model.settings.autodialCycles = 7;
    page.RefreshFromModel();
    test::ShowActive(page);
    for (const char* refused : {"0", "1", "2", "a", " "}) {
        Type(cycles, QString::fromLatin1(refused));
        EXPECT_EQ(model.settings.autodialCycles, 7) << refused;  // an emptied field keeps the number
        EXPECT_EQ(cycles->text(), QStringLiteral("7")) << refused;
    }
    for (int digit = 3; digit <= 9; ++digit) {
        Type(cycles, QString::number(digit));
        EXPECT_EQ(model.settings.autodialCycles, digit);
    }
}

TEST_P(PropertiesPageTest, ObjectNameOnlyOnTheFullModule) {
    auto* name = page.findChild<TranslitEdit*>(QStringLiteral("objectName"));
    EXPECT_EQ(name != nullptr, Full());
    EXPECT_EQ(List("comSpeed") != nullptr, Full());
    if (!Full()) return;
    EXPECT_EQ(name->maxLength(), 24);
    test::ShowActive(page);
    Type(name, QStringLiteral("Щука съел ёж, office@mail"));  // the shell keeps Cyrillic off here
    EXPECT_EQ(model.settings.objectName, "SCHuka s'el jozh, office");
}

TEST_P(PropertiesPageTest, TenCharacterPasswordAndNothingElse) {
    model.settings.pgmPassword = "0123456789";
    model.settings.objectName = "Object";
    page.RefreshFromModel();
    EXPECT_EQ(Edit("password")->text(), QStringLiteral("0123456789"));
    test::ShowActive(page);
    Type(Edit("password"), QStringLiteral("pass wordXYZ"));
    EXPECT_EQ(model.settings.pgmPassword, "pass wordX");
    Type(Edit("password"), QStringLiteral("ключ1"));  // the module keeps 7 bits: Cyrillic cannot be typed
    EXPECT_EQ(model.settings.pgmPassword, "1");
    EXPECT_EQ(model.settings.objectName, "Object");
}

TEST_P(PropertiesPageTest, LabelsAndListsInTheProgramsLanguage) {
    QStringList labels;
    for (QLabel* label : page.findChildren<QLabel*>()) labels << label->text();
    const QStringList expected =
        Full() ? QStringList{"Название объекта / Email", "Пароль активации PGM", "Длительность активации PGM (сек)",
                             "Номер центра сообщений", "+", "Кол-во циклов автодозвона (3..9)", "Период тестового СМС",
                             "Время", ":00", "Голосовое сообщение", "Скорость COM порта (для АТ команд)"}
               : QStringList{"PGM activation code", "PGM activation duration (s)", "Messages centre number", "+",
                             "Quantity of autocall cycles (3..9)", "Test SMS period", "Time", ":00", "Voice message"};
    for (const QString& label : expected) EXPECT_TRUE(labels.contains(label)) << label.toStdString();
    EXPECT_EQ(Trigger()->text(), Full() ? QStringLiteral(" Триггерный режим") : QStringLiteral("Trigger mode"));
    EXPECT_EQ(test::Entries(List("testSms")),
              Full() ? QStringList({"НЕТ", "Один раз в сутки", "1 час", "2 часа", "3 часа", "4 часа", "6 часов",
                                    "8 часов", "12 часов"})
                     : QStringList({"No", "Once per each 24 hours", "1 H", "2 H", "3 H", "4 H", "6 H", "8 H", "12 H"}));
    EXPECT_EQ(test::Entries(List("voice")),
              Full() ? QStringList({"После поднятия трубки", "Сразу после дозвона"})
                     : QStringList({"after picking up the receiver", "at once after the phone is answered"}));
    if (Full()) {
        EXPECT_EQ(test::Entries(List("comSpeed")),
                  QStringList({"115200 (Nokia)", "57600   (S, ME45)", "38400", "19200   (x35, S25)",
                               "9600     (Ericsson)"}));
    }
}

TEST_P(PropertiesPageTest, CommitStoresTheFieldBeingTyped) {
    test::ShowActive(page);
    test::Enter(Edit("smsc"));
    QTest::keyClicks(Edit("smsc"), QStringLiteral("79168999100"));
    page.CommitEdits();
    EXPECT_EQ(model.settings.smscNumber, "+79168999100");
}

TEST_P(PropertiesPageTest, RoundTripThroughTheSettings) {
    test::ShowActive(page);
    if (Full()) Type(Edit("objectName"), QStringLiteral("Dacha 12"));
    Type(Edit("password"), QStringLiteral("Open#1"));
    ASSERT_TRUE(Trigger()->isChecked());  // new settings start in trigger mode
    Trigger()->click();
    Type(Edit("duration"), QStringLiteral("42"));
    Type(Edit("smsc"), QStringLiteral("79037011111"));
    Type(Edit("cycles"), QStringLiteral("5"));
    test::Pick(List("testSms"), 6);
    test::Pick(List("voice"), 1);
    if (Full()) test::Pick(List("comSpeed"), 3);

    const ConfigSettings stored = model.settings;
    EXPECT_EQ(stored.objectName, Full() ? "Dacha 12" : "");
    EXPECT_EQ(stored.pgmPassword, "Open#1");
    EXPECT_EQ(stored.pgmSeconds, 42);
    EXPECT_EQ(stored.smscNumber, "+79037011111");
    EXPECT_EQ(stored.autodialCycles, 5);
    EXPECT_EQ(stored.testSmsCode, 0x86);
    EXPECT_FALSE(stored.voiceAfterPickup);
    EXPECT_EQ(stored.comSpeed, Full() ? 4 : 1);

    PropertiesPage other(model);
    const auto text = [&](const char* name) { return other.findChild<QLineEdit*>(QString::fromLatin1(name))->text(); };
    const auto entry = [&](const char* name) { return other.findChild<QComboBox*>(QString::fromLatin1(name))->currentIndex(); };
    if (Full()) {
        EXPECT_EQ(text("objectName"), QStringLiteral("Dacha 12"));
    }
    EXPECT_EQ(text("password"), QStringLiteral("Open#1"));
    EXPECT_EQ(text("duration"), QStringLiteral("42"));
    EXPECT_EQ(text("smsc"), QStringLiteral("79037011111"));
    EXPECT_EQ(text("cycles"), QStringLiteral("5"));
    EXPECT_EQ(text("hour"), QStringLiteral("00"));
    EXPECT_EQ(entry("testSms"), 6);
    EXPECT_EQ(entry("voice"), 1);
    EXPECT_EQ(model.settings, stored);
}

INSTANTIATE_TEST_SUITE_P(Programs, PropertiesPageTest, ::testing::Values(ModuleKind::Full, ModuleKind::Compact),
                         test::KindTestName);

}  // namespace
}  // namespace korvex
