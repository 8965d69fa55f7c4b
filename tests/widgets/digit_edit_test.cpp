#include "widgets/digit_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include "ui/key_input.h"

namespace korvex {
namespace {

struct DigitCase {
    const char* name;
    const char* typed;
    const char* after;
};

const DigitCase kDigitCases[] = {
    {"ThreeToNinePass", "3456789", "3456789"},
    {"ZeroOneTwoIgnored", "0129", "9"},
    {"LettersAndSpaceIgnored", "a Z-+.5", "5"},
    {"PunctuationIgnored", "!@#$%,;", ""},
};

class DigitTyping : public ::testing::TestWithParam<DigitCase> {};

TEST_P(DigitTyping, OnlyThreeToNine) {
    DigitEdit edit;
    QTest::keyClicks(&edit, QString::fromLatin1(GetParam().typed));
    EXPECT_EQ(edit.text(), QString::fromLatin1(GetParam().after));
}

INSTANTIATE_TEST_SUITE_P(Cases, DigitTyping, ::testing::ValuesIn(kDigitCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DigitEdit, NonLatinLettersIgnored) {
    DigitEdit edit;
    test::TypeText(&edit, QStringLiteral("жЁ№٣"));  // ٣ is an Arabic-Indic three
    EXPECT_EQ(edit.text(), QString());
}

TEST(DigitEdit, BackspaceAndCursorKeysWork) {
    DigitEdit edit;
    edit.setMaxLength(1);
    QTest::keyClicks(&edit, "37");
    EXPECT_EQ(edit.text(), QStringLiteral("3"));  // the page's limit of one digit
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), QString());
    QTest::keyClicks(&edit, "8");
    QTest::keyClick(&edit, Qt::Key_Home);
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_EQ(edit.text(), QString());
}

TEST(DigitEdit, ShortcutsThatTypeAreDropped) {
    QGuiApplication::clipboard()->setText(QStringLiteral("7"));
    DigitEdit edit;
    edit.setText(QStringLiteral("5"));
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("5"));
}

// A paste that is not a key press is let through, but only with what the
// keyboard could have typed.
TEST(DigitEdit, PasteHoldsToTheSameDigits) {
    struct {
        const char* clipboard;
        const char* after;
    } const cases[] = {{"7", "7"}, {"0", ""}, {"12", ""}, {"x", ""}, {"39", "39"}};
    for (const auto& c : cases) {
        QGuiApplication::clipboard()->setText(QString::fromLatin1(c.clipboard));
        DigitEdit edit;
        edit.paste();
        EXPECT_EQ(edit.text(), QString::fromLatin1(c.after)) << c.clipboard;
    }
}

}  // namespace
}  // namespace korvex
