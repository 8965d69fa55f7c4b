#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "model/clock.h"
#include "model/cp1251.h"
#include "model/image_codec.h"
#include "model/image_layout.h"
#include "pages/messages_page.h"
#include "app/app_flags.h"
#include "widgets/translit_edit.h"
#include "ui/key_input.h"
#include "ui/page_driving.h"

namespace korvex {
namespace {

std::string Cp1251(const QString& text) { return Utf8ToCp1251(text.toStdString()).bytes; }

class MessagesPageTest : public ::testing::TestWithParam<ModuleKind> {
protected:
    void SetUp() override { SetCyrillicAllowed(0); }
    void TearDown() override { SetCyrillicAllowed(0); }

    bool Full() const { return GetParam() == ModuleKind::Full; }
    QString Yes() const { return Full() ? QStringLiteral("Да") : QStringLiteral("Yes"); }
    QString No() const { return Full() ? QStringLiteral("Нет") : QStringLiteral("No"); }

    TranslitEdit* Text(int n) { return page.findChild<TranslitEdit*>(QStringLiteral("text%1").arg(n)); }
    QCheckBox* Box(int n) { return page.findChild<QCheckBox*>(QStringLiteral("cyrillic%1").arg(n)); }
    QString Count(int n) { return page.findChild<QLabel*>(QStringLiteral("count%1").arg(n))->text(); }

    void Type(int n, const QString& text) {
        test::Enter(Text(n));
        test::TypeText(Text(n), text);
        test::Leave(Text(n));
    }
    // Types over what the line holds: a switch of the box keeps the text.
    void Retype(int n, const QString& text) {
        test::Enter(Text(n));
        Text(n)->clear();
        test::TypeText(Text(n), text);
        test::Leave(Text(n));
    }

    AppModel model{ProfileFor(GetParam())};
    MessagesPage page{model};
};

TEST_P(MessagesPageTest, ShowsTheProfilesLinesAndHeadings) {
    test::ShowActive(page);
    const int shown = Full() ? 6 : 8;
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(Text(n)->isVisible(), n <= shown) << n;
        EXPECT_EQ(Box(n)->isVisible(), n <= shown) << n;
        EXPECT_EQ(Box(n)->text(), No());
        EXPECT_EQ(Text(n)->maxLength(), 68);
    }
    QStringList labels;
    for (QLabel* label : page.findChildren<QLabel*>()) {
        if (label->isVisible()) labels << label->text();
    }
    const QStringList headings = Full() ? QStringList{"CMC", "Текст сообщения", "Принимает ли телефон кириллицу?"}
                                        : QStringList{"SMS", "Message text", "Does the phone support Cyrillic letters?"};
    for (const QString& heading : headings) EXPECT_TRUE(labels.contains(heading)) << heading.toStdString();
    for (int n = 1; n <= 8; ++n) EXPECT_EQ(labels.contains(QStringLiteral("#%1").arg(n)), n <= shown) << n;
}

TEST_P(MessagesPageTest, BoxKeepsWhatFitsAndSetsTheNewLimit) {
    test::ShowActive(page);
    auto* count = page.findChild<QLabel*>("count3");
    EXPECT_EQ(count->text(), QStringLiteral("0/68"));
    const QString long40 = QStringLiteral("Alarm at the gate, north side, building");  // 39
    Type(3, long40);
    Type(4, QStringLiteral("Other line"));
    ASSERT_EQ(model.settings.texts[2], long40.toStdString());
    EXPECT_EQ(count->text(), QStringLiteral("39/68"));

    // Cut to the Cyrillic limit, not emptied.
    Box(3)->click();
    EXPECT_EQ(Box(3)->text(), Yes());
    EXPECT_EQ(Text(3)->text(), long40.left(31));
    EXPECT_EQ(model.settings.texts[2], long40.left(31).toStdString());
    EXPECT_EQ(count->text(), QStringLiteral("31/31"));
    EXPECT_TRUE(model.settings.cyrillic[2]);
    EXPECT_EQ(model.settings.textLimit[2], 31);
    EXPECT_EQ(Text(3)->maxLength(), 31);
    EXPECT_EQ(model.settings.texts[3], "Other line");  // the other lines keep theirs

    const QString forty = QStringLiteral("Тревога").repeated(6);  // 42 Cyrillic letters
    Retype(3, forty);
    EXPECT_EQ(Text(3)->text(), forty.left(31));
    EXPECT_EQ(model.settings.texts[2], Cp1251(forty.left(31)));

    // Back to Latin: the Cyrillic letters are turned into Latin ones.
    Box(3)->click();
    EXPECT_EQ(Box(3)->text(), No());
    EXPECT_EQ(Text(3)->text(), QStringLiteral("Trevoga").repeated(4) + QStringLiteral("Tre"));
    EXPECT_EQ(model.settings.texts[2], "TrevogaTrevogaTrevogaTrevogaTre");
    EXPECT_EQ(page.findChild<QLabel*>("count3")->text(), QStringLiteral("31/68"));
    EXPECT_FALSE(model.settings.cyrillic[2]);
    EXPECT_EQ(model.settings.textLimit[2], 68);
    Retype(3, QString(80, u'a'));
    EXPECT_EQ(model.settings.texts[2], std::string(68, 'a'));
    EXPECT_EQ(page.findChild<QLabel*>("count3")->text(), QStringLiteral("68/68"));
}

TEST_P(MessagesPageTest, EachLineTypesInItsOwnAlphabet) {
    test::ShowActive(page);
    Box(2)->click();
    Type(1, QStringLiteral("Щука съел Ёж"));
    Type(2, QStringLiteral("Щука съел еж"));
    Type(1, QString());  // back to the Latin line: Cyrillic is turned into Latin again
    EXPECT_EQ(model.settings.texts[0], "SCHuka s'el JOzh");
    EXPECT_EQ(model.settings.texts[1], Cp1251(QStringLiteral("Щука съел еж")));
    EXPECT_EQ(CyrillicAllowed(), 0);
}

TEST_P(MessagesPageTest, CyrillicTextFromTheModuleChecksItsBox) {
    ConfigSettings written;
    written.cyrillic[1] = true;
    written.texts[1] = Cp1251(QStringLiteral("Проникновение"));
    written.texts[0] = "Latin @ $";
    PackImage(model.profile, written, model.readImage, model.writeImage, Date{2024, 5, 1});
    UnpackImage(model.profile, model.writeImage, model.settings);
    page.RefreshFromModel();

    EXPECT_TRUE(Box(2)->isChecked());
    EXPECT_EQ(Box(2)->text(), Yes());
    EXPECT_EQ(Text(2)->text(), QStringLiteral("Проникновение"));
    EXPECT_EQ(Text(2)->maxLength(), 31);
    EXPECT_FALSE(Box(1)->isChecked());
    EXPECT_EQ(Text(1)->text(), QStringLiteral("Latin @ $"));
    EXPECT_EQ(Text(1)->maxLength(), 68);
}

TEST_P(MessagesPageTest, LongerTextThanTheLimitSurvivesAFocusPass) {
    // 7-bit records hold 70 characters; only the page stops at 68.
    model.settings.texts[0] = std::string(70, 'x');
    page.RefreshFromModel();
    test::ShowActive(page);
    EXPECT_EQ(Text(1)->text().size(), 70);
    test::Enter(Text(1));
    test::Leave(Text(1));
    EXPECT_EQ(model.settings.texts[0], std::string(70, 'x'));
    // Shortening it lowers the maximum back to the limit.
    test::Enter(Text(1));
    QTest::keyClick(Text(1), Qt::Key_Backspace);
    QTest::keyClick(Text(1), Qt::Key_Backspace);
    QTest::keyClick(Text(1), Qt::Key_Backspace);
    QTest::keyClicks(Text(1), QStringLiteral("yyy"));
    test::Leave(Text(1));
    EXPECT_EQ(model.settings.texts[0], std::string(67, 'x') + "y");
}

TEST_P(MessagesPageTest, CharacterWithoutCodeIsRefusedWithAMessage) {
    model.settings.texts[4] = "kept";
    page.RefreshFromModel();
    test::ShowActive(page);
    test::Enter(Text(5));
    Text(5)->setText(QStringLiteral("new ѣ text"));  // no code page 1251 code
    const QString message = test::AcceptMessageBox([&] { page.CommitEdits(); });
    EXPECT_TRUE(message.contains(QStringLiteral("ѣ"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("U+0463"))) << message.toStdString();
    EXPECT_EQ(model.settings.texts[4], "kept");
    EXPECT_EQ(Text(5)->text(), QStringLiteral("kept"));
}

TEST_P(MessagesPageTest, LatinLineTakesSixtyEightSeptets) {
    test::ShowActive(page);
    // An extension character takes two septets: 34 brackets fill the line.
    Type(1, QString(40, u'['));
    EXPECT_EQ(model.settings.texts[0], std::string(34, '['));
    EXPECT_EQ(Count(1), QStringLiteral("68/68"));
    // 67 letters leave one septet: the euro no longer fits, a letter does.
    Type(2, QString(67, u'a') + QStringLiteral("€b"));
    EXPECT_EQ(model.settings.texts[1], std::string(67, 'a') + "b");
    Type(4, QStringLiteral("5€ [x]"));
    EXPECT_EQ(Count(4), QStringLiteral("9/68"));
    // A Cyrillic line counts characters.
    Box(3)->click();
    Type(3, QString(40, u'['));
    EXPECT_EQ(model.settings.texts[2], std::string(31, '['));
    EXPECT_EQ(Count(3), QStringLiteral("31/31"));
    // Back to Latin, the septet limit holds again: the 31 brackets take 62.
    Box(3)->click();
    EXPECT_EQ(model.settings.texts[2], std::string(31, '['));
    EXPECT_EQ(Count(3), QStringLiteral("62/68"));
    Retype(3, QString(40, u'{'));
    EXPECT_EQ(model.settings.texts[2], std::string(34, '{'));
}

TEST_P(MessagesPageTest, LongerSeptetTextShrinksBeforeItGrows) {
    model.settings.texts[0] = std::string(35, ']');  // 70 septets, as the record may hold
    page.RefreshFromModel();
    test::ShowActive(page);
    test::Enter(Text(1));
    test::Leave(Text(1));
    EXPECT_EQ(model.settings.texts[0], std::string(35, ']'));
    test::Enter(Text(1));
    QTest::keyClick(Text(1), Qt::Key_Backspace);
    QTest::keyClick(Text(1), Qt::Key_Backspace);
    test::TypeText(Text(1), QStringLiteral("]x"));  // 66 septets: the bracket fits, then nothing
    test::Leave(Text(1));
    EXPECT_EQ(model.settings.texts[0], std::string(34, ']'));
}

TEST_P(MessagesPageTest, TypedTextArrivesAsTyped) {
    test::ShowActive(page);
    const QString typed = QStringLiteral("sklad_3 [A|B] {x} ~^\\ 5€ §¤ @$");
    Type(1, typed);
    ASSERT_EQ(model.settings.texts[0], Cp1251(typed));
    PackImage(model.profile, model.settings, model.readImage, model.writeImage, Date{2024, 5, 1});
    // "s", "k" and then "_" as the GSM septet 0x11, not its ASCII code.
    EXPECT_EQ(model.writeImage[layout::TextOffset(0) + 2], 0xF3);
    EXPECT_EQ(model.writeImage[layout::TextOffset(0) + 5], 0x4C);
    EXPECT_EQ(model.writeImage[layout::TextOffset(0) + 6], 0x8E);
    ConfigSettings read;
    UnpackImage(model.profile, model.writeImage, read);
    page.RefreshFromModel();
    EXPECT_EQ(read.texts[0], Cp1251(typed));
    EXPECT_EQ(Text(1)->text(), typed);
}

TEST_P(MessagesPageTest, CharacterOutsideTheGsmAlphabetCostsOnlyItself) {
    model.settings.texts[2] = "kept";
    page.RefreshFromModel();
    test::ShowActive(page);
    auto* count = page.findChild<QLabel*>("count3");
    struct Case {
        QString typed;
        std::string stored;  // what the module gets: the text without it
        QString count;
        QString character;
        QString code;
    };
    // Both pass the line's typing (code page 1251 holds them); the store leaves them out.
    const Case cases[] = {
        {QStringLiteral("sklad`3"), "sklad3", QStringLiteral("6/68"), QStringLiteral("`"), QStringLiteral("U+0060")},
        {QStringLiteral("a — b"), "a  b", QStringLiteral("4/68"), QStringLiteral("—"), QStringLiteral("U+2014")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        test::ShowActive(page);  // the last message box took the activation
        test::Enter(Text(3));
        Text(3)->clear();
        test::TypeText(Text(3), c.typed);
        ASSERT_EQ(Text(3)->text(), c.typed);
        EXPECT_EQ(count->text(), c.count);
        const QString message = test::AcceptMessageBox([&] { page.CommitEdits(); });
        for (const QString& told : {message, Text(3)->toolTip(), count->toolTip()}) {
            EXPECT_TRUE(told.contains(c.character)) << told.toStdString();
            EXPECT_TRUE(told.contains(c.code)) << told.toStdString();
            EXPECT_TRUE(told.contains(QStringLiteral("GSM"))) << told.toStdString();
        }
        EXPECT_EQ(model.settings.texts[2], c.stored);
        EXPECT_EQ(Text(3)->text(), c.typed) << "the text keeps what was typed";
        EXPECT_EQ(Text(3)->palette().color(QPalette::Text), QColor(Qt::red));
    }
    // Mended, the marks go.
    test::ShowActive(page);
    Retype(3, QStringLiteral("sklad 3"));
    EXPECT_EQ(model.settings.texts[2], "sklad 3");
    EXPECT_TRUE(Text(3)->toolTip().isEmpty());
    EXPECT_TRUE(count->toolTip().isEmpty());
    EXPECT_NE(Text(3)->palette().color(QPalette::Text), QColor(Qt::red));
    // A Cyrillic line takes both.
    Box(3)->click();
    Retype(3, QStringLiteral("` —"));
    EXPECT_EQ(model.settings.texts[2], Cp1251(QStringLiteral("` —")));
    // Back to Latin, the text keeps them, marked and uncounted, rather than ending there.
    test::AcceptMessageBox([&] { Box(3)->click(); });
    EXPECT_EQ(Text(3)->text(), QStringLiteral("` —"));
    EXPECT_EQ(model.settings.texts[2], " ");
    EXPECT_EQ(count->text(), QStringLiteral("1/68"));
}

// A character the line does not let through as typed is told, "№" as any
// other: the module cannot store it there.
TEST_P(MessagesPageTest, ACharacterRefusedAsTypedIsNamed) {
    test::ShowActive(page);
    struct Case {
        bool cyrillic;
        QString character;
        QString code;
    };
    const Case cases[] = {
        {false, QStringLiteral("№"), QStringLiteral("U+2116")},
        {true, QStringLiteral("№"), QStringLiteral("U+2116")},
        {false, QStringLiteral("ѣ"), QStringLiteral("U+0463")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        test::ShowActive(page);
        if (Box(4)->isChecked() != c.cyrillic) Box(4)->click();
        test::Enter(Text(4));
        Text(4)->clear();
        test::TypeText(Text(4), QStringLiteral("a"));
        const QString message = test::AcceptMessageBox([&] { test::TypeText(Text(4), c.character); });
        EXPECT_TRUE(message.contains(c.character)) << message.toStdString();
        EXPECT_TRUE(message.contains(c.code)) << message.toStdString();
        EXPECT_EQ(Text(4)->text(), QStringLiteral("a"));
    }
}

TEST_P(MessagesPageTest, CommitStoresTheLineBeingTyped) {
    test::ShowActive(page);
    test::Enter(Text(2));
    test::TypeText(Text(2), QStringLiteral("typed"));
    page.CommitEdits();
    EXPECT_EQ(model.settings.texts[1], "typed");
}

TEST_P(MessagesPageTest, RoundTripThroughTheSettings) {
    test::ShowActive(page);
    const int shown = model.profile.textCount;
    for (int n = 1; n <= shown; ++n) {
        if (n % 2 == 0) Box(n)->click();
        Type(n, QStringLiteral("Текст %1").arg(n));
    }
    const ConfigSettings stored = model.settings;
    for (int n = 1; n <= shown; ++n) {
        const QString expected = n % 2 == 0 ? QStringLiteral("Текст %1").arg(n) : QStringLiteral("Tekst %1").arg(n);
        EXPECT_EQ(stored.texts[n - 1], Cp1251(expected)) << n;
        EXPECT_EQ(stored.cyrillic[n - 1], n % 2 == 0) << n;
    }
    MessagesPage other(model);
    for (int n = 1; n <= shown; ++n) {
        auto* text = other.findChild<TranslitEdit*>(QStringLiteral("text%1").arg(n));
        auto* box = other.findChild<QCheckBox*>(QStringLiteral("cyrillic%1").arg(n));
        EXPECT_EQ(text->text(), QString::fromStdString(Cp1251ToUtf8(stored.texts[n - 1])));
        EXPECT_EQ(box->isChecked(), n % 2 == 0);
        EXPECT_EQ(text->maxLength(), n % 2 == 0 ? 31 : 68);
    }
    EXPECT_EQ(model.settings, stored);
}

INSTANTIATE_TEST_SUITE_P(Programs, MessagesPageTest, ::testing::Values(ModuleKind::Full, ModuleKind::Compact),
                         test::KindTestName);

}  // namespace
}  // namespace korvex
