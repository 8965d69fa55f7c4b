#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "link/profile.h"
#include "voice/voice_store.h"
#include "voice/wav_buffer.h"
#include "model/config_settings.h"
#include "app/dialogs.h"
#include "app/module_link.h"
#include "app/project_state.h"
#include "app/run_transfer.h"

namespace korvex {

class EditsGuard;

// The one application model of a program: the settings the pages edit, the
// two images, the voice buffers, the link to the module and the way the
// pages ask and tell the user. Pages hold a reference; there are no globals.
struct AppModel {
    explicit AppModel(const Profile& p, PortOpener opener = DefaultPortOpener())
        : profile(p),
          readImage(p.imageSize, 0),
          writeImage(p.imageSize, 0),
          voice(p),
          wav(p),
          link(p, std::move(opener)),
          dialogs(std::make_unique<Dialogs>()),
          transfers(p, link, dialogs) {
        // A port opened or closed may lead to another module: nothing it
        // holds is known, so the fast timing writes every slot again.
        link.SetForgetHandler([this] { voice.ForgetHeld(); });
    }
    AppModel(const AppModel&) = delete;
    AppModel& operator=(const AppModel&) = delete;

    const Profile& profile;
    ConfigSettings settings;
    std::vector<std::uint8_t> readImage;   // as last read or loaded
    std::vector<std::uint8_t> writeImage;  // rebuilt before every write or save
    VoiceStore voice;                      // the slots as read, loaded or written
    WavBuffer wav;                         // the WAV image shown and played
    ModuleLink link;                       // open while the File page's port is open
    std::unique_ptr<Dialogs> dialogs;      // replaced by tests

    // Whether the settings came from the module or a file, or were edited
    // here; otherwise a write would empty the module's configuration.
    bool settingsLoaded = false;
    ConfigSettings startSettings;          // as the window first showed them
    bool SettingsKnown() const { return settingsLoaded || !(settings == startSettings); }
    // Whether the voice slots were read, or a sound loaded into one.
    bool soundLoaded = false;
    // A sound loaded or spoken into a slot that no verified write has sent
    // to the module since: an unsaved change, as an edit is.
    bool soundUnwritten = false;
    // The project file the settings belong to, and what is unsaved.
    ProjectState project;
    // The window's guard of unsaved edits, which asks before they are
    // replaced; null where no window guards them (a page tested alone).
    EditsGuard* edits = nullptr;
    // Runs every transfer on the link; last, so that it stops a running
    // one before anything it works on goes.
    TransferRunner transfers;
};

}  // namespace korvex
