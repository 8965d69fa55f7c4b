#include "pages/messages_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

#include "pages/field_events.h"
#include "pages/messages_texts.h"
#include "pages/sms_count.h"
#include "pages/text_field.h"
#include "app/app_flags.h"
#include "widgets/translit.h"
#include "widgets/translit_edit.h"

namespace korvex {

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
        // Wide enough for the longest text the module takes.
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(kLatinTextLimit, u'W')) * 3 / 4);
        auto* count = new QLabel(this);
        count->setObjectName(QStringLiteral("count") + n);
        count->setMinimumWidth(count->fontMetrics().horizontalAdvance(QStringLiteral("68/68")) + 4);
        count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* box = new QCheckBox(this);
        box->setObjectName(QStringLiteral("cyrillic") + n);
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
        ShowWhole(edits_[line], FromCp1251(settings.texts[line]), settings.textLimit[line]);
        boxes_[line]->setChecked(settings.cyrillic[line]);
        ShowBoxState(line);
        ShowCount(line);
    }
}

void MessagesPage::CommitEdits() { events_->StoreFocused(); }

void MessagesPage::EnterText(int line) { SetCyrillicAllowed(boxes_[line]->isChecked() ? 1 : 0); }

void MessagesPage::StoreText(int line) { StoreCp1251(edits_[line], Model().settings.texts[line], GetProfile().kind, *Model().dialogs); }

void MessagesPage::SwitchAlphabet(int line) {
    ConfigSettings& settings = Model().settings;
    const bool cyrillic = boxes_[line]->isChecked();
    ShowBoxState(line);
    settings.cyrillic[line] = cyrillic;
    settings.textLimit[line] = TextLimit(cyrillic);
    // Keep what the new alphabet can hold: Cyrillic letters become Latin
    // ones as if typed, and the text ends where the new limit does.
    QString kept;
    for (char32_t c : edits_[line]->text().toUcs4()) {
        const QString next = kept + TransliterateTyped(c, cyrillic);
        if (SmsCharacters(next, cyrillic) > settings.textLimit[line]) break;
        kept = next;
    }
    ShowWhole(edits_[line], kept, settings.textLimit[line]);
    StoreText(line);
    ShowCount(line);
}

void MessagesPage::ShowCount(int line) {
    const ConfigSettings& settings = Model().settings;
    counts_[line]->setText(QStringLiteral("%1/%2")
                               .arg(SmsCharacters(edits_[line]->text(), boxes_[line]->isChecked()))
                               .arg(settings.textLimit[line]));
}

void MessagesPage::ShowBoxState(int line) {
    boxes_[line]->setText(QString::fromUtf8(boxes_[line]->isChecked() ? texts_.yes : texts_.no));
}

}  // namespace korvex
