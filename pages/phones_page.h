#pragma once
#include <array>

#include "model/config_settings.h"
#include "app/page.h"

class QCheckBox;
class QLineEdit;

namespace korvex {

class FieldEvents;

// The eight phone numbers the module calls or texts. Row n has a "+" box
// (checked: international, the mark "+"; clear: the mark "-") left of an
// edit for up to 20 digits. A number's digits are stored when its edit
// loses the focus, its mark when its box is clicked.
//
// Controls by object name: "number1".."number8" (QLineEdit) and
// "international1".."international8" (QCheckBox).
class PhonesPage : public Page {
public:
    PhonesPage(AppModel& model, QWidget* parent = nullptr);
    ~PhonesPage() override;

    void RefreshFromModel() override;
    void CommitEdits() override;

private:
    void StoreDigits(int row);
    void StoreMark(int row);

    std::array<QLineEdit*, kPhoneCount> numbers_{};
    std::array<QCheckBox*, kPhoneCount> marks_{};
    FieldEvents* events_;
};

}  // namespace korvex
