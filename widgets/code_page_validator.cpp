#include "widgets/code_page_validator.h"

#include "model/cp1251.h"

namespace korvex {

QValidator::State CodePageValidator::validate(QString& input, int&) const {
    for (const char32_t c : input.toUcs4()) {
        if (!UnicodeToCp1251(c)) return Invalid;
    }
    return Acceptable;
}

}  // namespace korvex
