#pragma once
#include <cstdint>

#include "app/page.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;

namespace korvex {

struct ZonesTexts;

// What the module does when a zone trips or the test SMS is due. Four
// groups (zones 1 to 3, the test SMS), each with four SMS actions (text t to
// phone p) and four autodial actions (call phone p, play sound s), and a
// zone's alarm condition. One action of one group is shown at a time; every
// choice stores at once and the page reloads. The test SMS group offers SMS
// actions only; the full module's page also hides its alarm condition, the
// compact module's keeps it (bit 7 of byte 108).
//
// Saving or writing moves the set actions of each list to its front
// (PackImage); the next RefreshFromModel shows the new order.
//
// Controls by object name: "group1".."group4", "action1".."action4"
// (QRadioButton); "smsPhone", "smsText", "autodialPhone", "sound", "alarm"
// (QComboBox); "smsPhoneShown", "smsTextShown", "autodialPhoneShown"
// (read-only QLineEdit); "autodialBox", "zoneTypeBox" (QGroupBox).
class ZonesPage : public Page {
public:
    ZonesPage(AppModel& model, QWidget* parent = nullptr);

    void RefreshFromModel() override;

    int Group() const { return group_; }
    int Action() const { return action_; }

private:
    void ChooseGroup(int group);
    void ChooseAction(int action);
    void ChooseSmsPhone(int phone);
    void ChooseSmsText(int text);
    void ChooseAutodialPhone(int phone);
    void ChooseSound(int sound);
    void ChooseAlarm(int condition);

    std::uint8_t& SmsAction();
    std::uint8_t& AutodialAction();
    QString PhoneShown(int phone);

    const ZonesTexts& texts_;
    const bool testSmsHasZoneType_;
    int group_ = 0;
    int action_ = 0;

    QButtonGroup* groups_;
    QButtonGroup* actions_;
    QComboBox* smsPhone_;
    QLineEdit* smsPhoneShown_;
    QComboBox* smsText_;
    QLineEdit* smsTextShown_;
    QComboBox* autodialPhone_;
    QLineEdit* autodialPhoneShown_;
    QComboBox* sound_;
    QComboBox* alarm_;
    QGroupBox* autodialBox_;
    QGroupBox* zoneTypeBox_;
};

}  // namespace korvex
