#pragma once
// One page's application model on a simulated module ("demo" opens it),
// with dialogs that answer themselves.
#include <QAbstractButton>
#include <QTest>
#include <memory>
#include <string>

#include "link/profile.h"
#include "app/app_model.h"
#include "ui/recording_dialogs.h"
#include "ui/test_module.h"

namespace korvex::test {

struct PageModel {
    // A working module with a cleared configuration and an erased log.
    explicit PageModel(const Profile& profile = FullProfile()) : model(profile, board.Opener()) {
        board.Load(profile, ConfigSettings{});
        auto recording = std::make_unique<RecordingDialogs>();
        dialogs = recording.get();
        model.dialogs = std::move(recording);
    }

    bool OpenPort() { return model.link.Open(std::string(kDemoPortName)).Ok(); }
    // A transfer started meanwhile has ended when this returns.
    void WaitForTransfer() {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !model.transfers.Running(); }, 600000));
    }
    // A button clicked, and the transfer it starts waited for.
    void Press(QAbstractButton* button) {
        button->click();
        WaitForTransfer();
    }

    TestModule board;
    SimulatedModule& module = board.module;
    AppModel model;
    RecordingDialogs* dialogs = nullptr;
};

}  // namespace korvex::test
