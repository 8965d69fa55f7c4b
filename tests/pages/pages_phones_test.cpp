#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "model/clock.h"
#include "model/image_codec.h"
#include "model/image_layout.h"
#include "pages/phones_page.h"
#include "ui/page_driving.h"

namespace korvex {
namespace {

class PhonesPageTest : public ::testing::TestWithParam<ModuleKind> {
protected:
    AppModel model{ProfileFor(GetParam())};
    PhonesPage page{model};

    QLineEdit* Number(int n) { return page.findChild<QLineEdit*>(QStringLiteral("number%1").arg(n)); }
    QCheckBox* Plus(int n) { return page.findChild<QCheckBox*>(QStringLiteral("international%1").arg(n)); }

    // Packs the settings and returns the first two bytes of phone record n.
    std::array<std::uint8_t, 2> PackedHead(int n) {
        PackImage(model.profile, model.settings, model.readImage, model.writeImage, Date{2024, 5, 1});
        const std::size_t at = layout::PhoneOffset(n - 1);
        return {model.writeImage[at], model.writeImage[at + 1]};
    }
};

TEST_P(PhonesPageTest, RowsAreLabelledInTheProgramsLanguage) {
    const QString prefix = GetParam() == ModuleKind::Full ? QStringLiteral("Телефон #") : QStringLiteral("Phone #");
    QStringList labels;
    for (QLabel* label : page.findChildren<QLabel*>()) labels << label->text();
    for (int n = 1; n <= 8; ++n) {
        EXPECT_TRUE(labels.contains(prefix + QString::number(n))) << n;
        EXPECT_EQ(Plus(n)->text(), QStringLiteral("+"));
        EXPECT_EQ(Number(n)->maxLength(), 20);
    }
}

TEST_P(PhonesPageTest, ShowsStoredNumbersWithTheirMarks) {
    model.settings.phones = {"+79161234567", "-4951112233", "-", "+", "-12345678901234567890", "-1", "+0", "-"};
    page.RefreshFromModel();
    const std::array<const char*, 8> digits = {"79161234567", "4951112233", "", "", "12345678901234567890", "1", "0", ""};
    const std::array<bool, 8> plus = {true, false, false, true, false, false, true, false};
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(Number(n)->text(), QString::fromLatin1(digits[n - 1])) << n;
        EXPECT_EQ(Plus(n)->isChecked(), plus[n - 1]) << n;
    }
}

TEST_P(PhonesPageTest, DigitsStoreOnFocusLossAndKeepTheMark) {
    model.settings.phones[1] = "+111";
    page.RefreshFromModel();
    test::ShowActive(page);
    test::Enter(Number(2));
    QTest::keyClicks(Number(2), QStringLiteral("22a-3"));  // the letter and the dash are refused
    EXPECT_EQ(model.settings.phones[1], "+111");        // nothing stored while typing
    test::Leave(Number(2));
    EXPECT_EQ(model.settings.phones[1], "+111223");
}

TEST_P(PhonesPageTest, BoxStoresTheMarkAndKeepsTheDigits) {
    model.settings.phones[4] = "-5550100";
    page.RefreshFromModel();
    Plus(5)->click();
    EXPECT_EQ(model.settings.phones[4], "+5550100");
    Plus(5)->click();
    EXPECT_EQ(model.settings.phones[4], "-5550100");
}

TEST_P(PhonesPageTest, ClearedNumberPacksWithNoDigits) {
    model.settings.phones[0] = "-123";
    model.settings.phones[7] = "-";
    page.RefreshFromModel();
    test::ShowActive(page);
    test::Enter(Number(1));
    Number(1)->selectAll();
    QTest::keyClick(Number(1), Qt::Key_Backspace);
    test::Leave(Number(1));
    EXPECT_EQ(model.settings.phones[0], "-");
    EXPECT_EQ(PackedHead(1), (std::array<std::uint8_t, 2>{0x00, 0x81}));

    Plus(8)->click();  // "+" with an empty number
    EXPECT_EQ(PackedHead(8), (std::array<std::uint8_t, 2>{0x00, 0x91}));
}

TEST_P(PhonesPageTest, CommitStoresTheFieldBeingTyped) {
    test::ShowActive(page);
    test::Enter(Number(6));
    QTest::keyClicks(Number(6), QStringLiteral("0612"));
    page.CommitEdits();
    EXPECT_EQ(model.settings.phones[5], "-0612");
    EXPECT_TRUE(Number(6)->hasFocus());
}

TEST_P(PhonesPageTest, ModuleNumbersShowAfterARead) {
    // Number #3 national 4951234567, number #4 international 12345.
    std::vector<std::uint8_t> image(model.profile.imageSize, 0);
    const std::array<std::uint8_t, 7> national = {10, 0x81, 0x94, 0x15, 0x32, 0x54, 0x76};
    const std::array<std::uint8_t, 5> international = {5, 0x91, 0x21, 0x43, 0xF5};
    std::copy(national.begin(), national.end(), image.begin() + layout::PhoneOffset(2));
    std::copy(international.begin(), international.end(), image.begin() + layout::PhoneOffset(3));
    UnpackImage(model.profile, image, model.settings);
    page.RefreshFromModel();
    EXPECT_EQ(Number(3)->text(), QStringLiteral("4951234567"));
    EXPECT_FALSE(Plus(3)->isChecked());
    EXPECT_EQ(Number(4)->text(), QStringLiteral("12345"));
    EXPECT_TRUE(Plus(4)->isChecked());
}

TEST_P(PhonesPageTest, RoundTripThroughTheSettings) {
    test::ShowActive(page);
    for (int n = 1; n <= 8; ++n) {
        test::Enter(Number(n));
        QTest::keyClicks(Number(n), QString::number(n).repeated(n));
        test::Leave(Number(n));
        if (n % 2) Plus(n)->click();
    }
    const ConfigSettings stored = model.settings;
    for (int n = 1; n <= 8; ++n) {
        const std::string expected = (n % 2 ? "+" : "-") + std::string(n, static_cast<char>('0' + n));
        EXPECT_EQ(stored.phones[n - 1], expected);
    }
    // A second page on the same settings shows exactly what the first stored.
    PhonesPage other(model);
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(other.findChild<QLineEdit*>(QStringLiteral("number%1").arg(n))->text(), QString::number(n).repeated(n));
        EXPECT_EQ(other.findChild<QCheckBox*>(QStringLiteral("international%1").arg(n))->isChecked(), n % 2 == 1);
    }
    EXPECT_EQ(model.settings, stored);
}

INSTANTIATE_TEST_SUITE_P(Programs, PhonesPageTest, ::testing::Values(ModuleKind::Full, ModuleKind::Compact),
                         test::KindTestName);

}  // namespace
}  // namespace korvex
