#pragma once
#include "tamlo/tamlo_dialog.h"
#include "app/app_model.h"

namespace korvex {

// The compact program: its application model and its main dialog, both
// living as long as the process.
class CTamloApp {
public:
    explicit CTamloApp(PortOpener opener = DefaultPortOpener());

    // Runs the main dialog modally. Returns false once "Exit" has ended it,
    // so the program ends without a message loop of its own.
    bool InitInstance();

    void RefreshAllPages() { dialog_.RefreshAllPages(); }

    AppModel& Model() { return model_; }
    MainDialog& Dialog() { return dialog_; }

private:
    AppModel model_;
    MainDialog dialog_;
};

}  // namespace korvex
