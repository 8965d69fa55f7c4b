#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <string>

#include "model/cp1251.h"
#include "pages/communicator_page.h"
#include "ui/key_input.h"
#include "ui/page_model.h"

namespace korvex {
namespace {

// A choice from a combo box's list, as the list delivers it.
void Choose(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);
}

// A click on the box's indicator (a wide box takes no click past its text).
void Click(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }

QStringList Entries(const QComboBox* box) {
    QStringList entries;
    for (int i = 0; i < box->count(); ++i) entries << box->itemText(i);
    return entries;
}

class CommunicatorTest : public ::testing::Test {
protected:
    CommunicatorTest() {
        page.resize(640, 420);
        page.show();
    }
    ReportAction& Action(int k) { return sim.model.settings.reportActions[static_cast<std::size_t>(k)]; }
    // What the page host does when the page button is chosen.
    void ChoosePage() {
        page.RebuildPhoneChoices();
        page.LoadCurrentAction();
        page.UpdateControls();
    }
    void ClickAction(int k) { QTest::mouseClick(page.ActionButton(k), Qt::LeftButton); }
    QCheckBox* BoxNamed(const char* text) {
        for (QCheckBox* box : page.findChildren<QCheckBox*>())
            if (box->text() == QString::fromUtf8(text)) return box;
        ADD_FAILURE() << "no box " << text;
        return nullptr;
    }

    test::PageModel sim;
    CommunicatorPage page{sim.model, nullptr};
};

TEST_F(CommunicatorTest, ControlsCarryTheirTexts) {
    for (int k = 0; k < 4; ++k) EXPECT_EQ(page.ActionButton(k)->text(), QStringLiteral("Действие №%1").arg(k + 1));
    EXPECT_TRUE(page.ActionButton(0)->isChecked());
    EXPECT_EQ(page.CurrentAction(), 0);
    EXPECT_EQ(Entries(page.LanguageBox()), QStringList({"Английский", "ПсевдоРусский", "Русский"}));
    EXPECT_TRUE(page.Preview()->isReadOnly());
}

TEST_F(CommunicatorTest, EachReportBoxOwnsItsBit) {
    const struct {
        const char* text;
        int bit;
    } boxes[] = {
        {"Тревоги (1xx)", 0},       {"Восстановления (1xx)", 1}, {"Постановки/Снятия (4xx)", 2},
        {"Неисправности (3xx)", 3}, {"Тестовые (6xx)", 4},       {"Наблюдение (2xx)", 5},
        {"Обходы (5xx)", 6},
    };
    ChoosePage();
    for (const auto& b : boxes) {
        SCOPED_TRACE(b.text);
        QCheckBox* box = BoxNamed(b.text);
        ASSERT_NE(box, nullptr);
        Click(box);
        EXPECT_EQ(Action(0).reportTypeMask, 1u << b.bit);
        Click(box);
        EXPECT_EQ(Action(0).reportTypeMask, 0u);
    }
    const struct {
        const char* text;
        int bit;
    } layout[] = {{"Название объекта", 0}, {"ID объекта", 1}, {"Раздел", 2}};
    for (const auto& b : layout) {
        SCOPED_TRACE(b.text);
        Click(BoxNamed(b.text));
        EXPECT_EQ(Action(0).smsLayoutMask, 1u << b.bit);
        Click(BoxNamed(b.text));
        EXPECT_EQ(Action(0).smsLayoutMask, 0u);
    }
    EXPECT_EQ(Action(1), ReportAction{});
}

TEST_F(CommunicatorTest, RussianDropsNameIdAndPartition) {
    sim.model.settings.objectName = "Office";
    Action(0).smsLayoutMask = 0x07;
    ChoosePage();
    EXPECT_EQ(page.Preview()->text(), QStringLiteral("Office IDobj, Group, Event, Zone/User"));

    Choose(page.LanguageBox(), 2);
    EXPECT_EQ(page.LanguageBox()->currentText(), QStringLiteral("Русский"));
    EXPECT_EQ(Action(0).smsLayoutMask, 0x20);
    for (int bit = 0; bit < 3; ++bit) {
        EXPECT_FALSE(page.LayoutBox(bit)->isChecked());
        EXPECT_FALSE(page.LayoutBox(bit)->isEnabled());
    }
    EXPECT_EQ(page.Preview()->text(), QStringLiteral(" Событие, Зона/Пользователь"));

    // Back to another language: the boxes come back enabled but unchecked.
    Choose(page.LanguageBox(), 0);
    EXPECT_EQ(Action(0).smsLayoutMask, 0x00);
    for (int bit = 0; bit < 3; ++bit) {
        EXPECT_FALSE(page.LayoutBox(bit)->isChecked());
        EXPECT_TRUE(page.LayoutBox(bit)->isEnabled());
    }
    EXPECT_EQ(page.Preview()->text(), QStringLiteral(" Event, Zone/User"));
}

TEST_F(CommunicatorTest, RussianFromTheModuleClearsTheBitsWhenShown) {
    Action(2).smsLayoutMask = 0x2F;  // Russian with name, ID, partition and bit 3
    ChoosePage();
    ClickAction(2);
    EXPECT_EQ(page.CurrentAction(), 2);
    EXPECT_EQ(Action(2).smsLayoutMask, 0x28);
    EXPECT_FALSE(page.LayoutBox(0)->isEnabled());
    // The other actions are not touched.
    EXPECT_EQ(Action(0).smsLayoutMask, 0x00);
}

TEST_F(CommunicatorTest, PreviewFollowsLanguageAndLayout) {
    struct Case {
        std::uint8_t mask;
        const char* objectName;  // code page 1251 bytes
        const char* preview;
    } cases[] = {
        {0x07, "Office", "Office IDobj, Group, Event, Zone/User"},
        {0x00, "Office", " Event, Zone/User"},
        {0x16, "Office", " IDobj, Group, Event, Zone/User"},  // 01 counts as English
        {0x36, "Office", " IDobj, Razdel, Sobytie, Zona/Polzovatel"},
        {0x31, "\xD1\xEA\xEB\xE0\xE4", "Склад Sobytie, Zona/Polzovatel"},
        {0x01, "", " Event, Zone/User"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.preview);
        Action(0).smsLayoutMask = c.mask;
        sim.model.settings.objectName = c.objectName;
        ChoosePage();
        EXPECT_EQ(page.Preview()->text(), QString::fromUtf8(c.preview));
    }
    // The name ends at a zero byte.
    sim.model.settings.objectName = std::string("Off\0ice", 7);
    Action(0).smsLayoutMask = 0x01;
    ChoosePage();
    EXPECT_EQ(page.Preview()->text(), QStringLiteral("Off Event, Zone/User"));
}

TEST_F(CommunicatorTest, LanguageCodeOneShowsEnglishAndAnyChoiceRewritesBothBits) {
    Action(0).smsLayoutMask = 0x10;
    ChoosePage();
    EXPECT_EQ(page.LanguageBox()->currentText(), QStringLiteral("Английский"));
    Choose(page.LanguageBox(), 1);
    EXPECT_EQ(Action(0).smsLayoutMask, 0x30);
    Choose(page.LanguageBox(), 2);
    EXPECT_EQ(Action(0).smsLayoutMask, 0x20);
    Choose(page.LanguageBox(), 0);
    EXPECT_EQ(Action(0).smsLayoutMask, 0x00);
}

TEST_F(CommunicatorTest, BitsThePageDoesNotOwnSurviveEveryEdit) {
    for (const std::uint8_t foreign : {std::uint8_t{0xC8}, std::uint8_t{0x00}}) {
        const std::uint8_t typeBit7 = foreign ? 0x80 : 0x00;
        SCOPED_TRACE(int(foreign));
        Action(1) = ReportAction{1, 2, static_cast<std::uint8_t>(typeBit7 | 0x05), static_cast<std::uint8_t>(foreign | 0x33)};
        ChoosePage();
        ClickAction(1);
        auto check = [&](const char* step) {
            SCOPED_TRACE(step);
            EXPECT_EQ(Action(1).smsLayoutMask & 0xC8, foreign);
            EXPECT_EQ(Action(1).reportTypeMask & 0x80, typeBit7);
        };
        check("shown");
        for (int bit = 0; bit < 7; ++bit) {
            Click(page.ReportBox(bit));
            check("report box");
        }
        for (int bit = 0; bit < 3; ++bit) {
            Click(page.LayoutBox(bit));
            check("layout box");
        }
        for (int language : {2, 1, 0, 2, 0}) {
            Choose(page.LanguageBox(), language);
            check("language");
        }
        Choose(page.SmsPhoneBox(), 4);
        Choose(page.AutodialPhoneBox(), 0);
        ClickAction(0);
        ClickAction(1);
        check("phones and actions");
        EXPECT_EQ(Action(1).smsPhone, 4);
        EXPECT_EQ(Action(1).autodialPhone, 0);
    }
}

TEST_F(CommunicatorTest, PhoneListsShowTheNumbers) {
    auto& phones = sim.model.settings.phones;
    phones[0] = "+79001234567";
    phones[2] = "-123";
    phones[3] = "";
    Action(0).smsPhone = 3;
    Action(0).autodialPhone = 9;  // beyond the eight phones
    Action(1).smsPhone = 0;
    Action(1).autodialPhone = 1;
    ChoosePage();
    const QStringList expected = {"НЕТ", "+79001234567", " ", " 123", "", " ", " ", " ", " "};
    EXPECT_EQ(Entries(page.SmsPhoneBox()), expected);
    EXPECT_EQ(Entries(page.AutodialPhoneBox()), expected);
    EXPECT_EQ(page.SmsPhoneBox()->currentIndex(), 3);
    EXPECT_EQ(page.SmsPhoneBox()->currentText(), QStringLiteral(" 123"));
    EXPECT_EQ(page.AutodialPhoneBox()->currentText(), QStringLiteral("НЕТ"));

    ClickAction(1);
    EXPECT_EQ(page.SmsPhoneBox()->currentText(), QStringLiteral("НЕТ"));
    EXPECT_EQ(page.AutodialPhoneBox()->currentText(), QStringLiteral("+79001234567"));
    Choose(page.AutodialPhoneBox(), 8);
    EXPECT_EQ(Action(1).autodialPhone, 8);
    EXPECT_EQ(Action(0).autodialPhone, 9);

    // Numbers changed elsewhere appear the next time the page is chosen.
    phones[7] = "+1";
    ChoosePage();
    EXPECT_EQ(page.SmsPhoneBox()->itemText(8), QStringLiteral("+1"));
}

TEST_F(CommunicatorTest, TypedTextChangesNothing) {
    Action(0).smsPhone = 2;
    ChoosePage();
    for (QComboBox* box : {page.SmsPhoneBox(), page.AutodialPhoneBox(), page.LanguageBox()}) {
        QLineEdit* edit = box->lineEdit();
        ASSERT_NE(edit, nullptr);
        const QString before = box->currentText();
        edit->setFocus();
        edit->selectAll();
        test::TypeText(edit, QStringLiteral("Русский"));
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(box->currentText(), before);
    }
    EXPECT_EQ(Action(0), (ReportAction{2, 0, 0, 0}));
}

}  // namespace
}  // namespace korvex
