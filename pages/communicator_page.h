#pragma once
#include <array>

#include "model/config_settings.h"
#include "app/page.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;

namespace korvex {

// The page behind "Коммуникатор": the four report actions, each with the
// phone for the event SMS, the phone the autodialler calls, the classes of
// events reported, what the SMS carries and its language, and a preview of
// the SMS. Every choice goes into reportActions at once; the bits of the two
// masks that the page has no control for stay as they were.
class CommunicatorPage : public Page {
public:
    static constexpr int kReportTypeBits = 7;
    static constexpr int kLayoutBits = 3;

    CommunicatorPage(AppModel& model, QWidget* parent = nullptr);

    // Run by the page host, in this order, whenever the page is chosen.
    // Fills both phone lists with "НЕТ" and the eight numbers.
    void RebuildPhoneChoices();
    // Shows the current action; a Russian SMS cannot carry the name, ID or
    // partition, so choosing it clears those bits and locks their boxes.
    void LoadCurrentAction();
    // Shows the chosen entries in the edit fields of the three lists.
    void UpdateControls();

    int CurrentAction() const;

    QAbstractButton* ActionButton(int action) const;
    QComboBox* SmsPhoneBox() const { return smsPhone_; }
    QComboBox* AutodialPhoneBox() const { return autodialPhone_; }
    QComboBox* LanguageBox() const { return language_; }
    // By bit of `reportTypeMask` (0..6) and of `smsLayoutMask` (0..2).
    QCheckBox* ReportBox(int bit) const { return reportBoxes_[static_cast<std::size_t>(bit)]; }
    QCheckBox* LayoutBox(int bit) const { return layoutBoxes_[static_cast<std::size_t>(bit)]; }
    QLineEdit* Preview() const { return preview_; }

private:
    ReportAction& Current();
    void BuildControls();
    void SelectPhone(QComboBox* box, int phone);
    void LanguageChosen(int index);
    void LayoutBoxClicked(int bit, bool checked);
    void ReportBoxClicked(int bit, bool checked);

    QButtonGroup* actions_;
    QComboBox* smsPhone_;
    QComboBox* autodialPhone_;
    QComboBox* language_;
    std::array<QCheckBox*, kReportTypeBits> reportBoxes_{};
    std::array<QCheckBox*, kLayoutBits> layoutBoxes_{};
    QLineEdit* preview_;
};

}  // namespace korvex
