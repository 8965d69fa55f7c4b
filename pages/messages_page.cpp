#include "pages/messages_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

#include <algorithm>

#include "pages/field_events.h"
#include "model/messages_texts.h"
#include "pages/septet_limit.h"
#include "pages/text_field.h"
#include "app/app_flags.h"
#include "model/gsm_alphabet.h"
#include "widgets/translit.h"
#include "widgets/translit_edit.h"

namespace korvex {
namespace {

// What a text takes of its limit: septets for a 7-bit text, characters for
// a UCS-2 one.
int Used(const QString& text, bool cyrillic) { return cyrillic ? static_cast<int>(text.size()) : CountedSeptets(text); }

}  // namespace

MessagesPage::MessagesPage(AppModel& model, QWidget* parent)
    : Page(PageId::Messages, model, parent), texts_(MessagesTextsFor(model.profile.kind)), events_(new FieldEvents(this)) {
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    auto* cyrillicHeading = new QLabel(QString::fromUtf8(texts_.cyrillicHeading), this);
    cyrillicHeading->setWordWrap(true);
    grid->addWidget(new QLabel(QString::fromUtf8(texts_.numberHeading), this), 0, 0, Qt::AlignBottom);
    grid->addWidget(new QLabel(QString::fromUtf8(texts_.textHeading), this), 0, 1, Qt::AlignBottom);
    grid->addWidget(cyrillicHeading, 0, 3, Qt::AlignBottom);

    const int shown = GetProfile().textCount;
    for (int line = 0; line < kTextSlots; ++line) {
        const QString n = QString::number(line + 1);
        auto* label = new QLabel(QString::fromUtf8(texts_.lineLabel) + n, this);
        auto* edit = new TranslitEdit(this);
        edit->setObjectName(QStringLiteral("text") + n);
        edit->setMaxLength(kLatinTextLimit);
        // A text at its limit shown whole where the window has the room.
        edit->SetShownChars(kLatinTextLimit);
        auto* count = new QLabel(this);
        count->setObjectName(QStringLiteral("count") + n);
        count->setMinimumWidth(count->fontMetrics().horizontalAdvance(QStringLiteral("68/68")) + 4);
        count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        septetLimits_[line] = new SeptetLimit(edit);
        TellRefusedTyping(edit, model.profile.kind, model.dialogs);
        auto* box = new QCheckBox(this);
        box->setObjectName(QStringLiteral("cyrillic") + n);
        // Its caption tells the state; a screen reader also hears the line and the question.
        box->setAccessibleName(QString::fromUtf8(texts_.lineLabel) + n + QLatin1Char(' ') +
                               QString::fromUtf8(texts_.cyrillicHeading));
        label->setBuddy(edit);
        grid->addWidget(label, line + 1, 0);
        grid->addWidget(edit, line + 1, 1);
        grid->addWidget(count, line + 1, 2);
        grid->addWidget(box, line + 1, 3);
        edits_[line] = edit;
        boxes_[line] = box;
        counts_[line] = count;
        for (QWidget* control : {static_cast<QWidget*>(label), static_cast<QWidget*>(edit),
                                 static_cast<QWidget*>(count), static_cast<QWidget*>(box)}) {
            control->setVisible(line < shown);
        }
        connect(edit, &QLineEdit::textChanged, this, [this, line] { ShowCount(line); });

        events_->OnFocusGained(edit, [this, line] { EnterText(line); });
        events_->OnFocusLost(edit, [this, line] { StoreText(line); });
        connect(box, &QCheckBox::clicked, this, [this, line] { SwitchAlphabet(line); });
    }
    // The text column takes the width; the box column is as wide as its
    // heading needs, wrapped onto two lines at most.
    grid->setColumnStretch(1, 1);
    cyrillicHeading->setMinimumWidth(cyrillicHeading->fontMetrics().horizontalAdvance(cyrillicHeading->text()) / 2 + 20);
    grid->setRowStretch(kTextSlots + 1, 1);
    RefreshFromModel();
}

// No store may run once the page is being taken apart: a field that holds
// the focus loses it while its parent is destroyed.
MessagesPage::~MessagesPage() { delete events_; }

void MessagesPage::RefreshFromModel() {
    const ConfigSettings& settings = Model().settings;
    for (int line = 0; line < kTextSlots; ++line) {
        ShowText(line, FromCp1251(settings.texts[line]));
        boxes_[line]->setChecked(settings.cyrillic[line]);
        ShowBoxState(line);
        ShowCount(line);
    }
}

void MessagesPage::CommitEdits() { events_->StoreFocused(); }

void MessagesPage::EnterText(int line) { SetCyrillicAllowed(boxes_[line]->isChecked() ? 1 : 0); }

void MessagesPage::StoreText(int line) {
    ConfigSettings& settings = Model().settings;
    if (settings.cyrillic[line]) MarkNotGsm(edits_[line], {});  // UCS-2 sends every character
    const auto store = settings.cyrillic[line] ? StoreCp1251 : StoreGsmText;
    store(edits_[line], settings.texts[line], GetProfile().kind, *Model().dialogs);
}

// A 7-bit text's limit counts septets, a UCS-2 one's characters.
void MessagesPage::ShowText(int line, const QString& text) {
    const ConfigSettings& settings = Model().settings;
    septetLimits_[line]->SetLimit(settings.cyrillic[line] ? 0 : settings.textLimit[line]);
    ShowWhole(edits_[line], text, settings.textLimit[line]);
    MarkNotGsm(edits_[line], settings.cyrillic[line] ? QString() : NotGsmTip(text, GetProfile().kind));
}

void MessagesPage::SwitchAlphabet(int line) {
    ConfigSettings& settings = Model().settings;
    const bool cyrillic = boxes_[line]->isChecked();
    ShowBoxState(line);
    settings.cyrillic[line] = cyrillic;
    settings.textLimit[line] = TextLimit(cyrillic);
    // Keep what the new alphabet can hold: Cyrillic letters become Latin
    // ones as if typed, and the text ends where the new limit does; a
    // character the 7-bit alphabet lacks stays, marked and not counted.
    QString kept;
    for (char32_t c : edits_[line]->text().toUcs4()) {
        const QString typed = TransliterateTyped(c, cyrillic);
        const QString next = kept + typed;
        if (Used(next, cyrillic) > settings.textLimit[line]) break;
        kept = next;
    }
    ShowText(line, kept);
    StoreText(line);
    ShowCount(line);
}

void MessagesPage::ShowCount(int line) {
    const ConfigSettings& settings = Model().settings;
    const QString text = edits_[line]->text();
    counts_[line]->setText(
        QStringLiteral("%1/%2").arg(Used(text, settings.cyrillic[line])).arg(settings.textLimit[line]));
    // A character left uncounted is told beside the count, as on the edit.
    MarkNotGsm(counts_[line], settings.cyrillic[line] ? QString() : NotGsmTip(text, GetProfile().kind));
}

void MessagesPage::ShowBoxState(int line) {
    boxes_[line]->setText(QString::fromUtf8(boxes_[line]->isChecked() ? texts_.yes : texts_.no));
}

}  // namespace korvex
