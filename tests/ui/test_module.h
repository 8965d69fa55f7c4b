#pragma once
// A simulated module for the window tests: the port list's "demo" entry
// opens it, every other port fails as a port held elsewhere would, so no
// test ever reaches a real device.
#include <algorithm>
#include <condition_variable>
#include <mutex>
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

// The module's lines with a gate a test can close: the line call that
// reaches it waits, on the transfer's thread, until the test opens it
// again, so the test acts at a known point inside a transfer.
class GatedLines final : public ModemLines {
public:
    explicit GatedLines(ModemLines& lines) : lines_(lines) {}
    void SetDtr() override { Pass(), lines_.SetDtr(); }
    void ClearDtr() override { Pass(), lines_.ClearDtr(); }
    void SetRts() override { Pass(), lines_.SetRts(); }
    void ClearRts() override { Pass(), lines_.ClearRts(); }
    std::uint32_t ReadModemStatus() override { return Pass(), lines_.ReadModemStatus(); }

    // The `calls`-th line call from now waits at the gate.
    void CloseAfter(long calls) {
        const std::lock_guard lock(mutex_);
        countdown_ = calls;
        waiting_ = false;
    }
    // True while a line call waits at the gate.
    bool Waiting() {
        const std::lock_guard lock(mutex_);
        return waiting_;
    }
    void Open() {
        {
            const std::lock_guard lock(mutex_);
            countdown_ = -1;
            waiting_ = false;
        }
        opened_.notify_all();
    }

private:
    void Pass() {
        std::unique_lock lock(mutex_);
        if (countdown_ < 0 || --countdown_ > 0) return;
        waiting_ = true;
        opened_.wait(lock, [this] { return countdown_ < 0; });
    }
    ModemLines& lines_;
    std::mutex mutex_;
    std::condition_variable opened_;
    long countdown_ = -1;
    bool waiting_ = false;
};

class TestModulePort final : public ModulePort {
public:
    TestModulePort(SimulatedModule& module, GatedLines& lines, int& saves)
        : module_(module), lines_(lines), saves_(saves) {}
    ModemLines& Lines() override { return lines_; }
    SleepFn Sleeper() override { return module_.Sleeper(); }
    SimulatedModule* Simulated() override { return &module_; }
    FileOutcome SaveBack() override {
        ++saves_;
        return {};
    }

private:
    SimulatedModule& module_;
    GatedLines& lines_;
    int& saves_;
};

struct TestModule {
    SimulatedModule module;
    GatedLines gate{module};
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
            opening.port = std::make_unique<TestModulePort>(module, gate, saves);
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
