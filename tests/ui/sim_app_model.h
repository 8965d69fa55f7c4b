#pragma once
// An application model whose port is a simulated module held by the test,
// and whose message boxes and file dialogs answer without a person.
#include <QString>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "link/profile.h"
#include "shell/app_model.h"
#include "sim/port_factory.h"
#include "sim/simulated_module.h"

namespace korvex::test {

class RecordingDialogs final : public Dialogs {
public:
    struct Shown {
        QMessageBox::Icon icon;
        QString text;
        QString detail;
    };
    struct Asked {
        QString title;
        QString filter;
        QString suffix;
    };

    void Message(QWidget*, QMessageBox::Icon icon, const QString& text, const QString& detail) override {
        messages.push_back({icon, text, detail});
    }
    QString OpenFileName(QWidget*, const QString& title, const QString& filter, const QString& suffix) override {
        asked.push_back({title, filter, suffix});
        return answer;
    }
    QString SaveFileName(QWidget*, const QString& title, const QString& filter, const QString& suffix) override {
        asked.push_back({title, filter, suffix});
        return answer;
    }

    std::vector<Shown> messages;
    std::vector<Asked> asked;
    QString answer;  // the file chosen; empty = cancelled
};

class SimulatedPort final : public ModulePort {
public:
    explicit SimulatedPort(SimulatedModule& module) : module_(module) {}
    ModemLines& Lines() override { return module_; }
    SleepFn Sleeper() override { return module_.Sleeper(); }
    SimulatedModule* Simulated() override { return &module_; }

private:
    SimulatedModule& module_;
};

// The module starts blank except for the marker and type signature of the
// profile, so that it passes the module checks.
struct SimAppModel {
    explicit SimAppModel(const Profile& profile = FullProfile())
        : model(profile, [this](const std::string&, const Profile&) {
              PortOpening opening;
              opening.port = std::make_unique<SimulatedPort>(module);
              return opening;
          }) {
        auto recording = std::make_unique<RecordingDialogs>();
        dialogs = recording.get();
        model.dialogs = std::move(recording);
        std::copy(profile.marker.begin(), profile.marker.end(), module.Memory().begin());
        if (profile.checksType)
            std::copy(std::begin(kDeviceTypeSignature), std::end(kDeviceTypeSignature), module.Memory().begin() + 20);
    }

    bool OpenPort() { return model.link.Open("sim"); }

    SimulatedModule module;
    AppModel model;
    RecordingDialogs* dialogs = nullptr;
};

}  // namespace korvex::test
