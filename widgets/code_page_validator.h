#pragma once
#include <QValidator>

namespace korvex {

// Accepts only text that code page 1251 can hold, the code page of every
// text in the module's memory; a character without a byte there could not
// be stored. Apply it to a line edit whose text goes into the image.
class CodePageValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

}  // namespace korvex
