#include "sim/port_factory.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <utility>

#include "link/line_probe.h"
#include "link/serial_exception.h"
#include "link/serial_port.h"
#include "sim/demo.h"

namespace korvex {
namespace {

class SerialModulePort final : public ModulePort {
public:
    ~SerialModulePort() override {
        // Closing purges and flushes; a port that vanished meanwhile has
        // nothing left to flush.
        try {
            link_.CloseLink();
        } catch (const CSerialException&) {
        }
    }
    SerialLink& Link() { return link_; }
    ModemLines& Lines() override { return link_.Port(); }
    SleepFn Sleeper() override { return RealSleep(); }
    ClockFn Clock() override { return RealClock(); }
    std::string Driver() override { return PortDriverName(DevicePathFor(name_)); }
    void SetName(std::string name) { name_ = std::move(name); }

private:
    SerialLink link_;
    std::string name_;
};

class SimulatedModulePort final : public ModulePort {
public:
    explicit SimulatedModulePort(std::filesystem::path file) : file_(std::move(file)) {}
    ModemLines& Lines() override { return module_; }
    SleepFn Sleeper() override { return module_.Sleeper(); }
    SimulatedModule* Simulated() override { return &module_; }
    std::string SaveBack() override { return module_.SaveFile(file_); }

private:
    std::filesystem::path file_;
    SimulatedModule module_;
};

// The memory a missing demo file starts with: a working module.
void FillDemoContent(const Profile& profile, SimulatedModule& module) { module.Memory() = MakeDemoMemory(profile); }

PortOpening OpenSimulated(const std::filesystem::path& file, const Profile& profile, bool demo) {
    PortOpening opening;
    opening.file = file;
    auto port = std::make_unique<SimulatedModulePort>(file);
    SimulatedModule& module = *port->Simulated();

    if (file.empty()) {
        opening.failure = PortOpening::Failure::FileCreate;
        opening.reason = std::string("sim:: ") + std::strerror(ENOENT);
        return opening;
    }
    std::error_code ec;
    const bool exists = std::filesystem::exists(file, ec);
    if (ec) {
        opening.failure = PortOpening::Failure::FileRead;
        opening.reason = file.string() + ": " + ec.message();
        return opening;
    }
    if (exists) {
        const std::uintmax_t size = std::filesystem::file_size(file, ec);
        if (ec) {
            opening.failure = PortOpening::Failure::FileRead;
            opening.reason = file.string() + ": " + ec.message();
            return opening;
        }
        if (size != SimulatedModule::kSize) {
            opening.failure = PortOpening::Failure::FileSize;
            opening.size = size;
            return opening;
        }
        if (std::string error = module.LoadFile(file); !error.empty()) {
            opening.failure = PortOpening::Failure::FileRead;
            opening.reason = error;
            return opening;
        }
    } else {
        // Created now rather than after the command, so that an unwritable
        // place fails before the module is touched.
        if (demo) {
            FillDemoContent(profile, module);
            if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
        }
        if (std::string error = module.SaveFile(file); !error.empty()) {
            opening.failure = PortOpening::Failure::FileCreate;
            opening.reason = error;
            return opening;
        }
    }
    opening.port = std::move(port);
    return opening;
}

std::filesystem::path DataHome() {
#ifdef _WIN32
    if (const char* local = std::getenv("LOCALAPPDATA"); local && *local) return local;
    if (const char* profileDir = std::getenv("USERPROFILE"); profileDir && *profileDir) return profileDir;
    return ".";
#else
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') return xdg;
    if (const char* home = std::getenv("HOME"); home && *home) return std::filesystem::path(home) / ".local" / "share";
    return ".";
#endif
}

}  // namespace

std::string_view DemoPortLabel(const Profile& profile) {
    return profile.kind == ModuleKind::Full ? "Демо-модуль" : "Demo module";
}

std::filesystem::path DemoFilePath(const Profile& profile) {
    return DataHome() / "korvex" / ("demo-" + std::string(profile.name) + ".bin");
}

PortOpening OpenModulePort(const std::string& name, const Profile& profile) {
    if (name == kDemoPortName) return OpenSimulated(DemoFilePath(profile), profile, true);
    if (name.starts_with(kSimPortPrefix)) {
        return OpenSimulated(std::filesystem::path(name.substr(kSimPortPrefix.size())), profile, false);
    }
    PortOpening opening;
    auto port = std::make_unique<SerialModulePort>();
    port->SetName(name);
    if (port->Link().OpenLink(name) != 0) {
        opening.failure = PortOpening::Failure::Port;
        opening.reason = port->Link().LastError();
        return opening;
    }
    opening.port = std::move(port);
    return opening;
}

}  // namespace korvex
