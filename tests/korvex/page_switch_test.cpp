// A page switch commits the field being typed in before any page reloads,
// whichever page is chosen next, the one already shown included.
#include <QLineEdit>

#include "ui/key_input.h"
#include "ui/korvex_window.h"

namespace korvex::test {
namespace {

struct TypedField {
    PageId page;
    const char* field;
    const char* typed;
    std::string (*stored)(const ConfigSettings&);
    const char* expected;
};

const TypedField kFields[] = {
    {PageId::Phones, "number3", "5551234", [](const ConfigSettings& s) { return s.phones[2]; }, "-5551234"},
    {PageId::Messages, "text2", "Dver otkryta", [](const ConfigSettings& s) { return s.texts[1]; }, "Dver otkryta"},
    {PageId::Properties, "objectName", "Garazh 2", [](const ConfigSettings& s) { return s.objectName; }, "Garazh 2"},
    {PageId::Properties, "smsc", "79160000000", [](const ConfigSettings& s) { return s.smscNumber; }, "+79160000000"},
};

class PageSwitchTest : public KorvexWindow, public ::testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(PageSwitchTest, TextBeingTypedSurvivesTheSwitch) {
    const TypedField& f = kFields[std::get<0>(GetParam())];
    const int target = std::get<1>(GetParam());
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));

    frame->PageAction(int(f.page))->trigger();
    auto* edit = Find<QLineEdit>(f.field);
    edit->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(edit->hasFocus());
    TypeText(edit, QString::fromUtf8(f.typed));
    ASSERT_EQ(edit->text(), QString::fromUtf8(f.typed));

    frame->PageAction(target)->trigger();
    EXPECT_EQ(f.stored(model->settings), f.expected);
    if (target == int(f.page)) {
        EXPECT_EQ(edit->text(), QString::fromUtf8(f.typed));
    }

    frame->PageAction(int(f.page))->trigger();
    EXPECT_EQ(edit->text(), QString::fromUtf8(f.typed));
    EXPECT_EQ(f.stored(model->settings), f.expected);
}

INSTANTIATE_TEST_SUITE_P(AnyFieldToAnyPage, PageSwitchTest,
                         ::testing::Combine(::testing::Range(0, int(std::size(kFields))), ::testing::Range(1, 9)),
                         [](const auto& info) {
                             const TypedField& f = kFields[std::get<0>(info.param)];
                             return std::string(f.field) + "_to_page" + std::to_string(std::get<1>(info.param));
                         });

}  // namespace
}  // namespace korvex::test
