#pragma once
// A simulated module for the window tests: the port list's "demo" entry
// opens it, every other port fails as a port held elsewhere would, so no
// test ever reaches a real device.
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "link/profile.h"
#include "voice/voice_store.h"
#include "model/clock.h"
#include "model/config_settings.h"
#include "model/image_codec.h"
#include "app/module_link.h"
#include "sim/simulated_module.h"

namespace korvex::test {

class TestModulePort final : public ModulePort {
public:
    TestModulePort(SimulatedModule& module, int& saves) : module_(module), saves_(saves) {}
    ModemLines& Lines() override { return module_; }
    SleepFn Sleeper() override { return module_.Sleeper(); }
    SimulatedModule* Simulated() override { return &module_; }
    FileOutcome SaveBack() override {
        ++saves_;
        return {};
    }

private:
    SimulatedModule& module_;
    int& saves_;
};

struct TestModule {
    SimulatedModule module;
    int saves = 0;
    int opens = 0;

    PortOpener Opener() {
        return [this](const std::string& name, const Profile&) {
            PortOpening opening;
            if (name != kDemoPortName) {
                opening.failure = PortOpening::Failure::Port;
                opening.reason = name + ": Device or resource busy";
                return opening;
            }
            ++opens;
            opening.port = std::make_unique<TestModulePort>(module, saves);
            return opening;
        };
    }

    // A working full module: marker, version "1.04", type signature and the
    // configuration `settings` packs into; voice memory erased.
    void Load(const Profile& profile, ConfigSettings settings) {
        module.Fill(0xFF);
        std::vector<std::uint8_t> none(profile.imageSize, 0);
        const std::uint8_t head[8] = {'1', '.', '0', '4', 0xE8, 0x95, 0x87, 0x36};
        std::copy(std::begin(head), std::end(head), none.begin() + 16);
        std::vector<std::uint8_t> image(profile.imageSize, 0);
        PackImage(profile, settings, none, image, Date{2024, 5, 17});
        std::copy(image.begin(), image.end(), module.Memory().begin());
        // An empty voice directory.
        std::fill_n(module.Memory().begin() + profile.directoryAddress, DirectoryBytes(profile), 0);
    }

    std::vector<std::uint8_t> Image(const Profile& profile) const {
        return {module.Memory().begin(), module.Memory().begin() + profile.imageSize};
    }
};

}  // namespace korvex::test
