#include "sim/port_factory.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <utility>

#include "link/path_text.h"
#include "link/line_probe.h"
#include "link/serial_exception.h"
#include "link/serial_port.h"
#include "sim/demo.h"
#include "sim/simulated_ft232r.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

#ifndef _WIN32
// The lock files held now, as plain byte strings, so that a signal handler
// can remove them without allocating.
struct HeldLockSlot {
    std::atomic<bool> used{false};
    char path[4096] = {};
};
std::array<HeldLockSlot, 4> heldLockSlots;
#endif

// Holds a simulated module as a real port is held exclusively: a second
// program on the same module is told the port is busy instead of both
// saving their own copy back and one change being lost. The lock is on a
// file beside the memory file ("FILE.lock"), taken before the memory file
// is created and kept whatever replaces the memory file meanwhile (its save
// renames a new file over it). The lock file is removed when the module is
// let go; a program that finds a lock file that was removed or replaced
// under it takes the one the name stands for now.
class MemoryFileLock {
public:
    MemoryFileLock() = default;
    ~MemoryFileLock() {
#ifndef _WIN32
        if (fd_ < 0) return;
        if (slot_) {
            slot_->path[0] = '\0';
            slot_->used.store(false);
        }
        // Removed while still held, so nobody can be holding the name meanwhile.
        if (!lockFile_.empty()) ::unlink(lockFile_.c_str());
        ::close(fd_);
#else
        // Opened to be deleted on close: the system removes the file with
        // the last handle, even when the program is killed.
        if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
#endif
    }
    MemoryFileLock(const MemoryFileLock&) = delete;
    MemoryFileLock& operator=(const MemoryFileLock&) = delete;

    // Locks the module behind `file` before the file is looked at. Returns 0
    // or the errno value (EBUSY when another program holds it). A folder
    // that takes no new file (read-only) takes no new memory file either:
    // there the memory file itself is locked.
    int Acquire(const std::filesystem::path& file) {
#ifndef _WIN32
        const std::filesystem::path lock = MemoryLockFileOf(file);
        const int error = Hold(lock, O_RDONLY | O_CREAT);
        if (error == 0) {
            lockFile_ = lock;
            Remember();
            return 0;
        }
        if (error == EROFS || error == EACCES || error == EPERM) return Hold(file, O_RDONLY);
        return error;
#else
        // Shared with nobody: a second program's open fails with a sharing
        // violation while this one holds it.
        const std::filesystem::path lock = MemoryLockFileOf(file);
        handle_ = ::CreateFileW(lock.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (handle_ != INVALID_HANDLE_VALUE) return 0;
        switch (::GetLastError()) {
            case ERROR_SHARING_VIOLATION:
            case ERROR_LOCK_VIOLATION: return EBUSY;
            case ERROR_PATH_NOT_FOUND:
            case ERROR_FILE_NOT_FOUND: return ENOENT;
            case ERROR_ACCESS_DENIED:
            case ERROR_WRITE_PROTECT:
                // A folder that takes no new file: saving back fails there
                // anyway, so no second program's change can be lost.
                return 0;
            default: return EIO;
        }
#endif
    }

private:
#ifndef _WIN32
    // A path too long to keep is simply not removed on a signal.
    void Remember() {
        const std::string text = lockFile_.string();
        if (text.size() >= sizeof(HeldLockSlot::path)) return;
        for (HeldLockSlot& slot : heldLockSlots) {
            bool expected = false;
            if (!slot.used.compare_exchange_strong(expected, true)) continue;
            std::memcpy(slot.path, text.c_str(), text.size() + 1);
            slot_ = &slot;
            return;
        }
    }
    HeldLockSlot* slot_ = nullptr;
    // Locks the file the name stands for now: one that was removed or
    // replaced between the open and the lock is let go and the name opened again.
    int Hold(const std::filesystem::path& path, int flags) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0644);
            if (fd < 0) return errno;
            if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
                const int error = errno == EWOULDBLOCK ? EBUSY : errno;
                ::close(fd);
                return error;
            }
            struct stat held {}, named {};
            if (::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
                held.st_ino == named.st_ino) {
                fd_ = fd;
                return 0;
            }
            ::close(fd);
        }
        return EBUSY;
    }
#else
    HANDLE handle_ = INVALID_HANDLE_VALUE;
#endif
    int fd_ = -1;
    std::filesystem::path lockFile_;  // empty when the memory file itself is held
};

class SimulatedModulePort final : public ModulePort {
public:
    explicit SimulatedModulePort(std::filesystem::path file) : file_(std::move(file)) {}
    ModemLines& Lines() override { return module_; }
    SleepFn Sleeper() override { return module_.Sleeper(); }
    SimulatedModule* Simulated() override { return &module_; }
    PinStream* Stream() override { return ft232r_.get(); }
    void SetSimulatedBitBang(bool on) override {
        if (on) ft232r_ = std::make_unique<SimulatedFt232r>(module_);
        else ft232r_.reset();
    }
    // A command that only read leaves the file as it was.
    FileOutcome SaveBack() override { return module_.Memory() == loaded_ ? FileOutcome{} : module_.SaveFile(file_); }

    MemoryFileLock& Lock() { return lock_; }
    void RememberLoaded() { loaded_ = module_.Memory(); }

private:
    std::filesystem::path file_;
    SimulatedModule module_;
    std::unique_ptr<SimulatedFt232r> ft232r_;
    MemoryFileLock lock_;
    std::array<std::uint8_t, SimulatedModule::kSize> loaded_{};
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
    if (demo && file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
    // Held before the file is looked at, so that two programs never both
    // create a missing one.
    if (const int error = port->Lock().Acquire(file); error != 0) {
        opening.failure = error == EBUSY    ? PortOpening::Failure::Port
                          : error == ENOENT ? PortOpening::Failure::FileCreate
                                            : PortOpening::Failure::FileRead;
        opening.reason = PathToUtf8(file) + ": " + std::strerror(error);
        return opening;
    }
    const bool exists = std::filesystem::exists(file, ec);
    if (ec) {
        opening.failure = PortOpening::Failure::FileRead;
        opening.reason = PathToUtf8(file) + ": " + ec.message();
        return opening;
    }
    if (!exists) {
        // Created now rather than after the command, so that an unwritable
        // place fails before the module is touched.
        if (demo) FillDemoContent(profile, module);
        if (const FileOutcome created = module.SaveFile(file); !created.Ok()) {
            opening.failure = PortOpening::Failure::FileCreate;
            opening.reason = created.Message();
            return opening;
        }
    }
    {
        const std::uintmax_t size = std::filesystem::file_size(file, ec);
        if (ec) {
            opening.failure = PortOpening::Failure::FileRead;
            opening.reason = PathToUtf8(file) + ": " + ec.message();
            return opening;
        }
        if (size != SimulatedModule::kSize) {
            opening.failure = PortOpening::Failure::FileSize;
            opening.size = size;
            return opening;
        }
        if (const FileOutcome loaded = module.LoadFile(file); !loaded.Ok()) {
            opening.failure = PortOpening::Failure::FileRead;
            opening.reason = loaded.Message();
            return opening;
        }
    }
    port->RememberLoaded();
    opening.port = std::move(port);
    return opening;
}

std::filesystem::path DataHome() {
#ifdef _WIN32
    // The wide environment: a narrow one spells a Cyrillic user name in the
    // ANSI code page, or with question marks.
    if (const wchar_t* local = _wgetenv(L"LOCALAPPDATA"); local && *local) return local;
    if (const wchar_t* profileDir = _wgetenv(L"USERPROFILE"); profileDir && *profileDir)
        return std::filesystem::path(profileDir) / "AppData" / "Local";
    return ".";
#else
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') return xdg;
    if (const char* home = std::getenv("HOME"); home && *home) return std::filesystem::path(home) / ".local" / "share";
    return ".";
#endif
}

}  // namespace

void RemoveHeldLockFiles() noexcept {
#ifndef _WIN32
    for (HeldLockSlot& slot : heldLockSlots) {
        if (slot.used.load() && slot.path[0] != '\0') ::unlink(slot.path);
    }
#endif
}

std::filesystem::path MemoryLockFileOf(const std::filesystem::path& memoryFile) {
    std::filesystem::path lock = memoryFile;
    lock += ".lock";
    return lock;
}

std::string_view DemoPortLabel(const Profile& profile) {
    return profile.kind == ModuleKind::Full ? "Демо-модуль" : "Demo module";
}

std::filesystem::path DemoFilePath(const Profile& profile) {
    return DataHome() / "korvex" / ("demo-" + std::string(profile.name) + ".bin");
}

namespace {
FtdiPortOpener ftdiOpener = nullptr;
}  // namespace

void SetFtdiPortOpener(FtdiPortOpener opener) { ftdiOpener = opener; }

PortOpening OpenModulePort(const std::string& name, const Profile& profile) {
    if (name.starts_with(kFtdiPortPrefix)) {
        if (ftdiOpener) return ftdiOpener(name, profile);
        PortOpening opening;
        opening.failure = PortOpening::Failure::Port;
        opening.reason = name + ": " + std::strerror(ENODEV);
        return opening;
    }
    if (name == kDemoPortName) return OpenSimulated(DemoFilePath(profile), profile, true);
    if (name.starts_with(kSimPortPrefix)) {
        return OpenSimulated(PathFromUtf8(std::string_view(name).substr(kSimPortPrefix.size())), profile, false);
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
