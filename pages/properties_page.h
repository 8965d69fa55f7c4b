#pragma once
#include <cstdint>

#include "app/page.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace korvex {

class DigitEdit;
class FieldEvents;
class TranslitEdit;
struct PropertiesTexts;

// The module's general settings: object name (full module only), PGM
// password and duration or trigger mode, SMS centre number, autodial
// cycles, test SMS schedule, voice-message timing, and the COM speed (full
// module only, held with the settings, not in the image). Edits store when
// they lose the focus, boxes when clicked, lists when an entry is chosen.
//
// The test SMS list and the hour edit share testSmsCode: "none" is 25, a
// daily message is the hour 0..24, a period is 0x80 plus its hours. A code
// the list does not know shows as "none" and stays unchanged until the user
// picks an entry. The autodial cycles take one digit from 3 to 9; a field
// left empty keeps the stored number. The hour edit takes 0 to 24.
//
// Controls by object name: "objectName" (TranslitEdit, full module only),
// "password", "duration", "smsc", "hour" (QLineEdit), "trigger" (QCheckBox),
// "cycles" (DigitEdit), "testSms", "voice", "comSpeed" (QComboBox; the last
// full module only).
class PropertiesPage : public Page {
public:
    PropertiesPage(AppModel& model, QWidget* parent = nullptr);
    ~PropertiesPage() override;

    void RefreshFromModel() override;
    void CommitEdits() override;

    // The list entry of a test SMS code: 1 for a daily hour 0..24, the
    // period's entry for a known period, 0 ("none") for 25 and any code the
    // list does not know.
    static int TestSmsEntry(std::uint8_t code);

private:
    void StoreObjectName();
    void StorePassword();
    void StoreDuration();
    void StoreSmsc();
    void StoreCycles();
    void StoreHour();
    void SwitchTrigger();
    void ChooseTestSms(int entry);
    void ShowCycles();
    void ShowTrigger(bool on);

    const PropertiesTexts& texts_;
    FieldEvents* events_;
    TranslitEdit* objectName_ = nullptr;
    QLineEdit* password_;
    QLineEdit* duration_;
    QCheckBox* trigger_;
    QLineEdit* smsc_;
    DigitEdit* cycles_;
    QComboBox* testSms_;
    QLineEdit* hour_;
    QComboBox* voice_;
    QComboBox* comSpeed_ = nullptr;
};

}  // namespace korvex
