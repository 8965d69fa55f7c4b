// The dialog behind Dialogs::AskSpeech: a text, a voice and, where the
// module takes more than one, the slot's rate.
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/dialogs.h"

namespace korvex {

std::optional<Dialogs::SpeechRequest> Dialogs::AskSpeech(QWidget* parent, const SpeechLabels& labels) {
    QDialog dialog(parent);
    dialog.setWindowTitle(labels.title);
    auto* form = new QFormLayout(&dialog);
    auto* text = new QPlainTextEdit(&dialog);
    text->setObjectName("speechText");
    text->setTabChangesFocus(true);
    text->setMinimumSize(320, 80);
    form->addRow(labels.text, text);
    auto* language = new QComboBox(&dialog);
    language->setObjectName("speechLanguage");
    for (qsizetype i = 0; i < labels.languageNames.size() && i < labels.languageCodes.size(); ++i)
        language->addItem(labels.languageNames[i], labels.languageCodes[i]);
    form->addRow(labels.language, language);
    QComboBox* rate = nullptr;
    if (labels.rates.size() > 1) {
        rate = new QComboBox(&dialog);
        rate->setObjectName("speechRate");
        for (int r : labels.rates) rate->addItem(QStringLiteral("%1 Hz").arg(r), r);
        form->addRow(labels.rate, rate);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    // Nothing to speak, nothing to accept.
    auto* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setEnabled(false);
    QObject::connect(text, &QPlainTextEdit::textChanged, ok,
                     [text, ok] { ok->setEnabled(!text->toPlainText().trimmed().isEmpty()); });

    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    SpeechRequest request;
    request.text = text->toPlainText();
    request.language = language->currentData().toString();
    request.rate = rate ? rate->currentData().toInt() : (labels.rates.isEmpty() ? 0 : labels.rates.front());
    return request;
}

}  // namespace korvex
