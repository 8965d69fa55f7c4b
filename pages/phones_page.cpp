#include "pages/phones_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "pages/field_events.h"
#include "model/phones_texts.h"
#include "pages/text_field.h"

namespace korvex {
namespace {


// The stored number is a mark followed by the digits; a number without a
// mark (never made by the codecs) counts as national with all its text as
// digits, so no digit is lost.
bool HasMark(const std::string& phone) { return !phone.empty() && (phone[0] == '+' || phone[0] == '-'); }

std::string DigitsOf(const std::string& phone) { return HasMark(phone) ? phone.substr(1) : phone; }

char MarkOf(const std::string& phone) { return HasMark(phone) ? phone[0] : '-'; }

}  // namespace

PhonesPage::PhonesPage(AppModel& model, QWidget* parent)
    : Page(PageId::Phones, model, parent), events_(new FieldEvents(this)) {
    const PhonesTexts& texts = PhonesTextsFor(GetProfile().kind);
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(10);
    for (int row = 0; row < kPhoneCount; ++row) {
        const QString n = QString::number(row + 1);
        auto* label = new QLabel(QString::fromUtf8(texts.numberLabel) + n, this);
        auto* mark = new QCheckBox(QString::fromUtf8(texts.international), this);
        mark->setObjectName(QStringLiteral("international") + n);
        auto* number = new QLineEdit(this);
        number->setObjectName(QStringLiteral("number") + n);
        number->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), number));
        number->setMaxLength(kPhoneMaxDigits);
        number->setMinimumWidth(number->fontMetrics().horizontalAdvance(QString(kPhoneMaxDigits + 4, u'0')));
        label->setBuddy(number);

        grid->addWidget(label, row, 0);
        grid->addWidget(mark, row, 1);
        grid->addWidget(number, row, 2);
        numbers_[row] = number;
        marks_[row] = mark;

        events_->OnFocusLost(number, [this, row] { StoreDigits(row); });
        connect(mark, &QCheckBox::clicked, this, [this, row] { StoreMark(row); });
    }
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(kPhoneCount, 1);
    RefreshFromModel();
}

// No store may run once the page is being taken apart: a field that holds
// the focus loses it while its parent is destroyed.
PhonesPage::~PhonesPage() { delete events_; }

void PhonesPage::RefreshFromModel() {
    const auto& phones = Model().settings.phones;
    for (int row = 0; row < kPhoneCount; ++row) {
        marks_[row]->setChecked(MarkOf(phones[row]) == '+');
        ShowWhole(numbers_[row], FromCp1251(DigitsOf(phones[row])), kPhoneMaxDigits);
    }
}

void PhonesPage::CommitEdits() { events_->StoreFocused(); }

void PhonesPage::StoreDigits(int row) {
    std::string& phone = Model().settings.phones[row];
    std::string digits = DigitsOf(phone);
    if (!StoreCp1251(numbers_[row], digits, GetProfile().kind, *Model().dialogs)) return;
    phone = MarkOf(phone) + digits;
}

void PhonesPage::StoreMark(int row) {
    std::string& phone = Model().settings.phones[row];
    phone = (marks_[row]->isChecked() ? "+" : "-") + DigitsOf(phone);
}

}  // namespace korvex
