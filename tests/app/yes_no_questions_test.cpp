// The two Yes/No questions differ on purpose: Confirm guards a step that
// erases the module's data, so Enter answers No; Ask offers a step that
// loses nothing there, so Enter answers Yes. Escape answers No in both.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/dialogs.h"

namespace korvex::test {
namespace {

enum class Question { Confirm, Ask };

struct Case {
    const char* name;
    Question question;
    Qt::Key key;
    QMessageBox::StandardButton byDefault;
    bool yes;
};

const Case kCases[] = {
    {"ConfirmEnter", Question::Confirm, Qt::Key_Return, QMessageBox::No, false},
    {"ConfirmEscape", Question::Confirm, Qt::Key_Escape, QMessageBox::No, false},
    {"AskEnter", Question::Ask, Qt::Key_Return, QMessageBox::Yes, true},
    {"AskEscape", Question::Ask, Qt::Key_Escape, QMessageBox::Yes, false},
};

class YesNoQuestions : public ::testing::TestWithParam<Case> {};

TEST_P(YesNoQuestions, TheKeyAnswersAsTheQuestionMeans) {
    const Case& c = GetParam();
    QMessageBox::StandardButton shownDefault = QMessageBox::NoButton;
    QString shownText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shownText = box->text();
        shownDefault = box->standardButton(box->defaultButton());
        QTest::keyClick(box, c.key);
    });
    Dialogs dialogs;
    const QString text = QStringLiteral("Continue?");
    const bool yes = c.question == Question::Confirm ? dialogs.Confirm(nullptr, text) : dialogs.Ask(nullptr, text);
    EXPECT_EQ(shownText, text);
    EXPECT_EQ(shownDefault, c.byDefault);
    EXPECT_EQ(yes, c.yes);
}

INSTANTIATE_TEST_SUITE_P(EveryKey, YesNoQuestions, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvex::test
