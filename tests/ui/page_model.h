#pragma once
// One page's application model on a simulated module ("demo" opens it),
// with dialogs that answer themselves.
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

    TestModule board;
    SimulatedModule& module = board.module;
    AppModel model;
    RecordingDialogs* dialogs = nullptr;
};

}  // namespace korvex::test
