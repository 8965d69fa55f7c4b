#include "shell/code_page_validator.h"

#include "shell/translit.h"

namespace korvex {

QValidator::State CodePageValidator::validate(QString& input, int&) const {
    for (const char32_t c : input.toUcs4()) {
        if (Cp1251Code(c) < 0) return Invalid;
    }
    return Acceptable;
}

}  // namespace korvex
