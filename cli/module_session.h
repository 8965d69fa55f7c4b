#pragma once
#include <sstream>
#include <filesystem>
#include <functional>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_texts.h"
#include "cli/terminal_progress.h"
#include "link/device_link.h"
#include "link/profile.h"
#include "link/two_wire_bus.h"
#include "sim/port_factory.h"
#include "sim/simulated_module.h"

namespace korvex::cli {

// The options before the command.
struct GlobalOptions {
    bool compact = false;
    std::string port = "COM1";
    std::string trace;                 // simulated ports only
    std::vector<std::string> faults;   // KIND[:N], simulated ports only
};

// What every command is handed.
struct Context {
    const GlobalOptions& options;
    const Profile& profile;
    const CliTexts& texts;
};

bool IsSimulatedPortName(const std::string& port);

// The faults as the simulated module takes them; an unknown kind or a
// missing or bad N is a usage error.
SimulatedModule::Faults ParseFaults(const std::vector<std::string>& faults, const CliTexts& texts);

// Usage checks that need no module: the faults parse, and --trace and
// --sim-fault name a simulated port.
void CheckGlobalOptions(const Context& ctx);

// The memory file behind a simulated port (sim:FILE or demo); nullopt for a
// serial port.
std::optional<std::filesystem::path> MemoryFileOf(const Context& ctx);

// The opened port with its bus, trace and progress for one command.
class ModuleSession {
public:
    explicit ModuleSession(const Context& ctx);
    ~ModuleSession();
    ModuleSession(const ModuleSession&) = delete;
    ModuleSession& operator=(const ModuleSession&) = delete;

    TwoWireBus& Bus() { return *bus_; }
    Progress& GetProgress() { return progress_; }

    // Stores a simulated module's memory back in its file and puts the
    // trace in place. Returns the message of the first failure, empty when
    // all went well.
    std::string Finish();

private:
    const Context& ctx_;
    std::unique_ptr<ModulePort> port_;
    std::unique_ptr<TwoWireBus> bus_;
    TerminalProgress progress_;
    std::ostringstream trace_;  // written out whole when the command ends
    bool finished_ = false;
};

// Ends the command unless the outcome is Ok: the program's text for it, exit
// status 3 for a verify mismatch (with its address) and 2 otherwise.
void RequireOk(const Context& ctx, const LinkOutcome& outcome);

// Opens the port, runs the body on it and finishes the session whatever
// the body came to. A failing line call ends the command with exit
// status 2; a failed save-back with 4 (unless the body already failed).
// Whether a command writes to the module: a port failure in a write says the
// module may hold part of the new data.
enum class ModuleAccess { Reads, Writes };
int RunOnModule(const Context& ctx, const std::function<int(ModuleSession&)>& body,
                ModuleAccess access = ModuleAccess::Reads);

}  // namespace korvex::cli
