#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "link/modem_lines.h"
#include "link/pin_stream.h"
#include "link/profile.h"
#include "link/two_wire_bus.h"
#include "model/file_io.h"
#include "sim/simulated_module.h"

namespace korvex {

// Port names beside "COMn" and device paths: the demo module of the chosen
// profile, and a simulated module kept in a raw 32768-byte file.
inline constexpr std::string_view kDemoPortName = "demo";
inline constexpr std::string_view kSimPortPrefix = "sim:";
// An FTDI cable driven in synchronous bit-bang mode: "ftdi:SERIAL", "ftdi:first".
inline constexpr std::string_view kFtdiPortPrefix = "ftdi:";

// The label a port list shows for the demo module.
std::string_view DemoPortLabel(const Profile& profile);

// Where the demo module of a profile keeps its memory:
// $XDG_DATA_HOME (or ~/.local/share)/korvex/demo-<name>.bin; on Windows
// under %LOCALAPPDATA%.
std::filesystem::path DemoFilePath(const Profile& profile);

// An opened port: the lines the bus drives and the sleep that goes with
// them (real time for a serial port, the module's virtual time for a
// simulated one, so a simulated transfer takes no wall time).
class ModulePort {
public:
    virtual ~ModulePort() = default;
    virtual ModemLines& Lines() = 0;
    virtual SleepFn Sleeper() = 0;
    // The port's time: a steady clock, or the simulated module's virtual one.
    virtual ClockFn Clock() { return Simulated() ? Simulated()->Clock() : RealClock(); }
    // The port's driver as the system names it, or the simulated port model's.
    virtual std::string Driver() { return Simulated() ? std::string(Simulated()->GetPortModel().driver) : std::string(); }
    // The module behind a simulated port; nullptr for a serial port.
    virtual SimulatedModule* Simulated() { return nullptr; }
    // The pin stream the bus drives instead of Lines(), when the cable has
    // one; nullptr otherwise.
    virtual PinStream* Stream() { return nullptr; }
    // A simulated port only: a simulated FT232R in bit-bang mode in front of
    // the module from now on (false: the line calls again). Ignored elsewhere.
    virtual void SetSimulatedBitBang(bool on) { static_cast<void>(on); }
    // Stores a simulated module's memory back in its file (whole, then
    // renamed over). Ok for a serial port.
    virtual FileOutcome SaveBack() { return {}; }
};

// What opening a port came to. The caller picks the words.
struct PortOpening {
    enum class Failure {
        None,
        Port,        // the serial port could not be opened
        FileRead,    // the module's memory file exists but could not be read
        FileCreate,  // a missing memory file could not be created
        FileSize,    // the memory file is not 32768 bytes long; size holds its length
    };
    std::unique_ptr<ModulePort> port;  // set when failure is None
    Failure failure = Failure::None;
    std::filesystem::path file;        // the memory file (simulated ports)
    std::string reason;                // "device or file: the system's text"
    std::uintmax_t size = 0;
    bool Ok() const { return failure == Failure::None; }
};

// The file beside a simulated module's memory file that is locked while a
// program holds the module: "FILE.lock". It exists only while held (a
// program killed outright leaves it unlocked, and the next one takes it).
std::filesystem::path MemoryLockFileOf(const std::filesystem::path& memoryFile);

// Removes the lock files this program holds. Safe to call from a signal
// handler that then ends the program, so an interrupted program leaves none.
void RemoveHeldLockFiles() noexcept;

// Opens a port by name: "COMn" or a device path (opened as the link opens
// it), "sim:FILE" (a missing FILE is created as a blank module, all 0xFF),
// or "demo" (the profile's demo file, created with the demo content when
// missing). A simulated module is held as a serial port is, from before its
// file is created until the port is destroyed: another program's opening
// fails as Failure::Port with EBUSY's text, even when the memory file is
// renamed over meanwhile (POSIX; in a folder that takes no new file the
// memory file itself is locked).
PortOpening OpenModulePort(const std::string& name, const Profile& profile);

// What opens "ftdi:" names: set once at start by a program built with an
// FTDI back end (ftdi/). Without one such a name fails as Failure::Port.
using FtdiPortOpener = PortOpening (*)(const std::string& name, const Profile& profile);
void SetFtdiPortOpener(FtdiPortOpener opener);

}  // namespace korvex
