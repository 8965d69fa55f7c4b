#include "pages/septet_limit.h"

#include <QLineEdit>

#include <algorithm>

#include "model/gsm_alphabet.h"

namespace korvex {

int CountedSeptets(const QString& text) {
    int septets = 0;
    for (const char32_t c : text.toUcs4())
        if (const auto code = GsmCodeOf(c)) septets += code->Septets();
    return septets;
}

namespace {

int Septets(const QString& text) { return CountedSeptets(text); }

}  // namespace

SeptetLimit::SeptetLimit(QLineEdit* edit) : QValidator(edit) {
    edit->setValidator(this);
    connect(edit, &QLineEdit::textChanged, this, &SeptetLimit::Follow);
}

void SeptetLimit::SetLimit(int septets) {
    limit_ = septets;
    Follow(static_cast<QLineEdit*>(parent())->text());
}

// The line edit asks before it takes a change and reports the text after;
// an accepted change that shortens a long text lowers the ceiling with it.
void SeptetLimit::Follow(const QString& text) { ceiling_ = std::max(limit_, Septets(text)); }

QValidator::State SeptetLimit::validate(QString& input, int&) const {
    return limit_ == 0 || Septets(input) <= ceiling_ ? Acceptable : Invalid;
}

}  // namespace korvex
