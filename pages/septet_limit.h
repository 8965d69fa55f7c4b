#pragma once
#include <QValidator>

class QLineEdit;
class QString;

namespace korvex {

// Septets a GSM text takes: a character the alphabet lacks is not stored,
// so it takes none.
int CountedSeptets(const QString& text);

// Holds a GSM 7-bit SMS text to its limit in septets while it is typed: an
// extension character ("^ { } \ [ ~ ] |" and "€") takes two, so the edit's
// maximum length, which counts characters, cannot. Like that maximum, it
// never cuts a longer text shown whole: such a text may only shrink until
// it is within the limit. Off (limit 0) for a UCS-2 text.
class SeptetLimit : public QValidator {
public:
    // Becomes the edit's validator and follows its text.
    explicit SeptetLimit(QLineEdit* edit);

    void SetLimit(int septets);
    State validate(QString& input, int& position) const override;

private:
    void Follow(const QString& text);

    int limit_ = 0;
    int ceiling_ = 0;  // what the text may take: the limit, or more while a longer text shrinks
};

}  // namespace korvex
