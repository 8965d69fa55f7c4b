// The dialog that asks what to speak.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "app/dialogs.h"

namespace korvex::test {
namespace {

Dialogs::SpeechLabels Labels(QList<int> rates) {
    return {"Speak text", "Text:", "Language:", {"English", "Russian"}, {"en", "ru"}, "Sample rate:", rates};
}

// Runs `answer` on the dialog once it shows, then asks.
std::optional<Dialogs::SpeechRequest> AskWith(const Dialogs::SpeechLabels& labels,
                                              const std::function<void(QDialog&)>& answer) {
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(*dialog);
    });
    Dialogs dialogs;
    return dialogs.AskSpeech(nullptr, labels);
}

TEST(SpeechDialog, AnswersTheTextTheVoiceAndTheRate) {
    bool okWithoutText = true;
    bool hasRateRow = false;
    const auto request = AskWith(Labels({16000, 22050, 11025}), [&](QDialog& d) {
        auto* ok = d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        okWithoutText = ok->isEnabled();
        d.findChild<QPlainTextEdit*>("speechText")->setPlainText("Тревога");
        d.findChild<QComboBox*>("speechLanguage")->setCurrentIndex(1);
        auto* rate = d.findChild<QComboBox*>("speechRate");
        hasRateRow = rate != nullptr;
        if (rate) rate->setCurrentIndex(2);
        ok->click();
    });
    EXPECT_FALSE(okWithoutText) << "nothing to speak, nothing to accept";
    EXPECT_TRUE(hasRateRow);
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->text, QStringLiteral("Тревога"));
    EXPECT_EQ(request->language, QStringLiteral("ru"));
    EXPECT_EQ(request->rate, 11025);
}

TEST(SpeechDialog, OneRateNeedsNoRowAndCancelAnswersNothing) {
    bool hasRateRow = true;
    const auto request = AskWith(Labels({22050}), [&](QDialog& d) {
        hasRateRow = d.findChild<QComboBox*>("speechRate") != nullptr;
        d.findChild<QPlainTextEdit*>("speechText")->setPlainText("Alarm");
        d.reject();
    });
    EXPECT_FALSE(hasRateRow);
    EXPECT_FALSE(request.has_value());

    const auto accepted = AskWith(Labels({22050}), [&](QDialog& d) {
        d.findChild<QPlainTextEdit*>("speechText")->setPlainText("Alarm");
        d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    ASSERT_TRUE(accepted.has_value());
    EXPECT_EQ(accepted->language, QStringLiteral("en"));
    EXPECT_EQ(accepted->rate, 22050);
}

}  // namespace
}  // namespace korvex::test
