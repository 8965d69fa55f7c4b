#pragma once
#include <sstream>
#include <filesystem>
#include <functional>
#include <optional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_texts.h"
#include "cli/stop_signal.h"
#include "cli/terminal_progress.h"
#include "link/device_link.h"
#include "link/profile.h"
#include "link/two_wire_bus.h"
#include "sim/port_bus.h"
#include "sim/port_factory.h"
#include "sim/simulated_module.h"

namespace korvex::cli {

// The options before the command.
struct GlobalOptions {
    bool compact = false;
    std::string language;              // ru or en; empty: the locale's, else the module's program's
    std::string port;                  // empty: KORVEX_PORT, else none (a module command refuses)
    std::string trace;                 // simulated ports only
    std::vector<std::string> faults;   // KIND[:N], simulated ports only
    std::string simPort;               // port model name, simulated ports only
    std::string bus = "spec";          // bus timing: spec or fast
    std::string simPace = "virtual";   // simulated ports: virtual (fast) or real (the cable's own pace)
    bool stats = false;                // the port's cost as the last line on stderr
};

// What every command is handed.
struct Context {
    const GlobalOptions& options;
    const Profile& profile;
    const CliTexts& texts;
    std::optional<PortStats>* stats = nullptr;  // where the session leaves what the port cost
};

bool IsSimulatedPortName(const std::string& port);

// The faults as the simulated module takes them; an unknown kind or a
// missing or bad N is a usage error.
SimulatedModule::Faults ParseFaults(const std::vector<std::string>& faults, const CliTexts& texts);

// Usage checks that need no module: the faults parse, the port model and
// the bus timing exist, and --trace, --sim-fault and --sim-port name a
// simulated port.
void CheckGlobalOptions(const Context& ctx);

// The environment variable that names the port when --port is not given.
inline constexpr const char* kPortVariable = "KORVEX_PORT";

// Ends a command that needs a module when no port is named (exit status 1),
// with the ports this machine has.
void RequirePortNamed(const Context& ctx);

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

    // Probes the port and readies the bus; a failing line call throws.
    void Prepare();
    TwoWireBus& Bus() { return bus_->Bus(); }
    Progress& GetProgress() { return progress_; }
    const LineProbe& Probe() const { return bus_->Probe(); }
    PortStats Stats() const { return bus_ ? bus_->Stats() : PortStats{}; }
    // Whether a write of data began on the port (the module may hold part of it).
    bool DataWritten() { return bus_ && Bus().DataWritten(); }
    // Ends the command when the probe found a cable that cannot read the module back.
    void RequireUsable() const;
    // Tells on stderr, where a person watches, how long `operation` will
    // take on this port; it runs on a scratch copy first.
    void Announce(const std::function<void(TwoWireBus&)>& operation);

    // What storing the module and the trace came to: the first failure's
    // message, as the user reads it.
    struct [[nodiscard]] FinishOutcome {
        std::string message;
        bool Ok() const { return message.empty(); }
    };
    // Stores a simulated module's memory back in its file and puts the
    // trace in place (unless not `writeTrace`).
    FinishOutcome Finish(bool writeTrace = true);

private:
    const Context& ctx_;
    // First: a signal stops this session's transfers from before its port opens.
    StopOnSignal stopOnSignal_;
    std::unique_ptr<ModulePort> port_;
    std::unique_ptr<PortBus> bus_;
    TerminalProgress progress_;
    std::ostringstream trace_;  // written out whole when the command ends
    bool finished_ = false;
};

// Ends the command unless the outcome is Ok: the program's text for it, exit
// status 3 for a verify mismatch (with its address) and 2 otherwise; a
// damaged marker adds how to have it written.
void RequireOk(const Context& ctx, const LinkOutcome& outcome);

// Opens the port, runs the body on it and finishes the session whatever
// the body came to. A failing line call ends the command with exit
// status 2; a failed save-back with 4 (unless the body already failed).
// Whether a command writes to the module: a port failure in a write says the
// module may hold part of the new data.
enum class ModuleAccess { Reads, Writes };
// A port whose cable cannot read the module back is refused before the body
// runs unless `probeOnly`.
int RunOnModule(const Context& ctx, const std::function<int(ModuleSession&)>& body,
                ModuleAccess access = ModuleAccess::Reads, bool probeOnly = false);

}  // namespace korvex::cli
