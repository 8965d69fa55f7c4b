#pragma once
#include "shell/page.h"

namespace korvex {

// The four event reports. For now it only holds its place among the pages;
// the page host already calls the reloads it will have.
class CommunicatorPage : public Page {
public:
    CommunicatorPage(AppModel& model, QWidget* parent = nullptr);

    // The phone lists offered for each report, from the phone numbers.
    void RebuildPhoneChoices() {}
    // The controls of the report being shown, from the settings.
    void LoadCurrentAction() {}
    // Puts the page's own values into its controls.
    void UpdateControls() {}
};

}  // namespace korvex
