#pragma once
#include <array>

#include "model/config_settings.h"
#include "app/page.h"

class QCheckBox;
class QLabel;

namespace korvex {

class FieldEvents;
class SeptetLimit;
class TranslitEdit;
struct MessagesTexts;

// The SMS texts and, per text, whether the receiving phone shows Cyrillic
// (UCS-2, up to 31 characters) or not (GSM 7-bit, up to 68 septets: a
// character of the extension table such as "[" or "€" takes two). A 7-bit
// text refuses a character the GSM alphabet lacks. The profile's number of texts is shown (6 or 8 lines); the
// rest exist hidden. A text is stored when its edit loses the focus; while
// an edit has the focus, CyrillicAllowed follows its line's box. Clicking a
// box switches the line's alphabet: the text keeps what fits the new one
// (Cyrillic letters turned into Latin ones, cut to the new limit). Beside
// each text a counter shows what it uses of its limit and the limit ("12/68";
// septets for a 7-bit text).
//
// Controls by object name: "text1".."text8" (TranslitEdit),
// "cyrillic1".."cyrillic8" (QCheckBox, captioned with its state) and
// "count1".."count8" (QLabel).
class MessagesPage : public Page {
public:
    MessagesPage(AppModel& model, QWidget* parent = nullptr);
    ~MessagesPage() override;

    void RefreshFromModel() override;
    void CommitEdits() override;

private:
    void EnterText(int line);
    void StoreText(int line);
    void SwitchAlphabet(int line);
    void ShowBoxState(int line);
    void ShowText(int line, const QString& text);
    void ShowCount(int line);

    const MessagesTexts& texts_;
    std::array<TranslitEdit*, kTextSlots> edits_{};
    std::array<QCheckBox*, kTextSlots> boxes_{};
    std::array<QLabel*, kTextSlots> counts_{};
    std::array<SeptetLimit*, kTextSlots> septetLimits_{};
    FieldEvents* events_;
};

}  // namespace korvex
