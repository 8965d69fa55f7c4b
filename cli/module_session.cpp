#include "cli/module_session.h"

#include "cli/stop_signal.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <system_error>

#include "cli/cli_error.h"
#include "cli/utf8_console.h"
#include "link/path_text.h"
#include "link/bus_error.h"
#include "link/port_list.h"
#include "link/serial_exception.h"
#include "model/file_io.h"
#include "sim/demo.h"
#include "sim/port_model.h"
#include "sim/simulated_ft232r.h"
#include "sim/transfer_estimate.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace korvex::cli {
namespace {

// N of KIND:N: a whole number from 1.
bool ParseCount(std::string_view text, std::uint64_t& value) {
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= 1;
}

}  // namespace

bool IsSimulatedPortName(const std::string& port) {
    return port == kDemoPortName || port.starts_with(kSimPortPrefix);
}

SimulatedModule::Faults ParseFaults(const std::vector<std::string>& faults, const CliTexts& texts) {
    SimulatedModule::Faults result;
    for (const std::string& fault : faults) {
        const auto colon = fault.find(':');
        const std::string kind = fault.substr(0, colon);
        const bool hasCount = colon != std::string::npos;
        std::uint64_t count = 0;
        const bool countOk = hasCount && ParseCount(std::string_view(fault).substr(colon + 1), count);
        if (kind == "absent" && !hasCount) {
            result.absent = true;
        } else if (kind == "write-protect" && !hasCount) {
            result.writeProtect = true;
        } else if (kind == "flip-read" && countOk) {
            result.flipReadAt = count;
        } else if (kind == "flip-write" && countOk) {
            result.flipWriteAt = count;
        } else if (kind == "pull" && countOk) {
            result.pullAfterCalls = count;
        } else {
            throw CliError(kExitUsage, std::string(texts.unknownFault) + fault);
        }
    }
    return result;
}

// "COMn" (any case) with a number the ports do not have: such a name would
// otherwise be opened as a file of that name.
bool IsComNameOutOfRange(const std::string& port) {
    if (port.size() < 4) return false;
    for (std::size_t i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(port[i])) != "COM"[i]) return false;
    }
    const std::string_view digits = std::string_view(port).substr(3);
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string_view::npos) return true;  // COM0, COM00
    const std::string_view number = digits.substr(first);
    return number.size() > 3 || std::stoi(std::string(number)) > 255;
}

BusTiming TimingFor(const std::string& name) { return name == "fast" ? BusTiming::Fast : BusTiming::Spec; }

void CheckGlobalOptions(const Context& ctx) {
    ParseFaults(ctx.options.faults, ctx.texts);
    if (IsComNameOutOfRange(ctx.options.port))
        throw CliError(kExitUsage, std::string(ctx.texts.badComPort) + ctx.options.port);
    const bool simulated = IsSimulatedPortName(ctx.options.port);
    if (!simulated && (!ctx.options.trace.empty() || !ctx.options.faults.empty() || !ctx.options.simPort.empty() ||
                       ctx.options.simPace != "virtual"))
        throw CliError(kExitUsage, std::string(ctx.texts.simulatedOnly));
    if (!ctx.options.simPort.empty() && !FindPortModel(ctx.options.simPort) &&
        ctx.options.simPort != kBitBangPortName) {
        std::string known;
        for (const PortModel& m : PortModels()) known += (known.empty() ? "" : ", ") + std::string(m.name);
        known += ", " + std::string(kBitBangPortName);
        throw CliError(kExitUsage, std::string(ctx.texts.unknownPortModel) + ctx.options.simPort + " (" + known + ")");
    }
    if (ctx.options.bus != "spec" && ctx.options.bus != "fast")
        throw CliError(kExitUsage, std::string(ctx.texts.unknownBusTiming) + ctx.options.bus);
    if (ctx.options.simPace != "virtual" && ctx.options.simPace != "real")
        throw CliError(kExitUsage, std::string(ctx.texts.unknownPace) + ctx.options.simPace);
}

void RequirePortNamed(const Context& ctx) {
    if (!ctx.options.port.empty()) return;
    std::string ports;
    for (const std::string& port : SerialPortsPresent()) ports += port + ", ";
    ports += std::string(kDemoPortName) + ", " + std::string(ctx.texts.simFilePort);
    throw CliError(kExitUsage, std::string(ctx.texts.noPort) + ports);
}

ModuleSession::ModuleSession(const Context& ctx) : ctx_(ctx) {
    // A guess (COM1 is often a console or another device) could drive the wrong one.
    RequirePortNamed(ctx);
    CheckGlobalOptions(ctx);  // callers check first; a session never opens a serial port with faults
    const SimulatedModule::Faults faults = ParseFaults(ctx.options.faults, ctx.texts);

    // The trace file first: a trace that cannot be written (no room, no
    // such folder) stops the command before the module is touched.
    if (!ctx.options.trace.empty()) {
        const FileOutcome writable = CheckWritable(PathFromUtf8(ctx.options.trace));
        if (!writable.Ok())
            throw CliError(kExitInput, std::string(ctx.texts.traceFile) + ctx.options.trace + ": " + writable.reason);
    }

    PortOpening opening = OpenModulePort(ctx.options.port, ctx.profile);
    if (!opening.Ok()) {
        switch (opening.failure) {
            case PortOpening::Failure::Port:
                throw CliError(kExitModule, std::string(ctx.profile.texts.portNotOpened) + " (" + opening.reason + ")");
            case PortOpening::Failure::FileSize:
                throw CliError(kExitInput, std::string(ctx.texts.moduleFileSize) + PathToUtf8(opening.file) + " (" +
                                               std::to_string(opening.size) + ")");
            case PortOpening::Failure::FileCreate:
                throw CliError(kExitInput, std::string(ctx.texts.moduleFileCreate) + opening.reason);
            case PortOpening::Failure::FileRead:
            case PortOpening::Failure::None:
                throw CliError(kExitInput, std::string(ctx.texts.moduleFileRead) + opening.reason);
        }
    }
    port_ = std::move(opening.port);
    if (SimulatedModule* module = port_->Simulated()) {
        if (ctx.options.simPort == kBitBangPortName) port_->SetSimulatedBitBang(true);
        else if (!ctx.options.simPort.empty()) module->SetPortModel(*FindPortModel(ctx.options.simPort));
        module->GetFaults() = faults;
        if (!ctx.options.trace.empty()) module->SetTrace(&trace_);
        module->SetRealPace(ctx.options.simPace == "real");
    }
}

void ModuleSession::Prepare() {
    bus_ = std::make_unique<PortBus>(*port_, TimingFor(ctx_.options.bus));
    Bus().SetStopCheck(&StopSignalled);
    // The standard timing samples a cached status too soon after a line change.
    if (Probe().Usable() && !Probe().liveStatus && Bus().Timing() == BusTiming::Spec)
        WriteText(stderr, std::string(ctx_.texts.cachedStatus) + "\n");
}

void ModuleSession::RequireUsable() const {
    if (!Probe().Usable()) throw CliError(kExitModule, std::string(ctx_.profile.texts.cableCannotRead));
}

void ModuleSession::Announce(const std::function<void(TwoWireBus&)>& operation) {
#ifdef _WIN32
    if (!_isatty(_fileno(stderr))) return;
#else
    if (!::isatty(STDERR_FILENO)) return;
#endif
    const SimulatedModule* module = port_->Simulated();
    const auto memory = module ? module->Memory() : MakeDemoMemory(ctx_.profile);
    const double seconds = EstimateSeconds(CostsFrom(Probe()), Bus().Timing(), memory, operation);
    // Through WriteText: the Russian words reach a Windows console as UTF-16.
    WriteText(stderr, AboutText(seconds, ctx_.profile.kind == ModuleKind::Compact) + "\n");
}

ModuleSession::~ModuleSession() {
    // Only reached when RunOnModule did not finish: it tells the outcome itself.
    if (!finished_) static_cast<void>(Finish());
}

ModuleSession::FinishOutcome ModuleSession::Finish(bool writeTrace) {
    finished_ = true;
    progress_.Hide();
    std::string failure;
    if (SimulatedModule* module = port_->Simulated()) {
        module->SetTrace(nullptr);
        if (const FileOutcome saved = port_->SaveBack(); !saved.Ok())
            failure = std::string(ctx_.texts.moduleFileSave) + saved.Message();
    }
    if (writeTrace && !ctx_.options.trace.empty()) {
        const std::string text = std::move(trace_).str();
        const FileOutcome written =
            WriteFileAtomic(PathFromUtf8(ctx_.options.trace), {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
        if (!written.Ok() && failure.empty())
            failure = std::string(ctx_.texts.traceFile) + ctx_.options.trace + ": " + written.reason;
    }
    port_.reset();  // a serial port closes here
    return {failure};
}

std::optional<std::filesystem::path> MemoryFileOf(const Context& ctx) {
    if (ctx.options.port == kDemoPortName) return DemoFilePath(ctx.profile);
    if (ctx.options.port.starts_with(kSimPortPrefix))
        return std::filesystem::path(ctx.options.port.substr(kSimPortPrefix.size()));
    return std::nullopt;
}

void RequireOk(const Context& ctx, const LinkOutcome& outcome) {
    if (outcome.Ok()) return;
    std::string message(OutcomeText(ctx.profile, outcome));
    if (outcome.result == LinkResult::Mismatch) {
        message += " (" + std::string(ctx.texts.atAddress) + " " + std::to_string(outcome.address) + ")";
        throw CliError(kExitMismatch, message);
    }
    if (outcome.result == LinkResult::DamagedMarker) message += "\n" + std::string(WriteMarkerHint(ctx.profile));
    throw CliError(kExitModule, message);
}

int RunOnModule(const Context& ctx, const std::function<int(ModuleSession&)>& body, ModuleAccess access,
                bool probeOnly) {
    ModuleSession session(ctx);
    int code = kExitOk;
    std::exception_ptr failure;
    bool stopped = false;
    try {
        session.Prepare();
        if (!probeOnly) session.RequireUsable();
        code = body(session);
    } catch (const TransferStopped&) {
        std::string message(ctx.texts.stopped);
        if (access == ModuleAccess::Writes && session.DataWritten())
            message += "\n" + std::string(ctx.texts.partialWrite);
        stopped = true;
        failure = std::make_exception_ptr(CliError(kExitModule, message));
    } catch (const CSerialException& e) {
        std::string message = std::string(ctx.texts.portError) + e.Message();
        // A write cut short leaves part of the new data in the module; a
        // failure before the first data byte leaves the module as it was.
        if (access == ModuleAccess::Writes && session.DataWritten())
            message += "\n" + std::string(ctx.texts.partialWrite);
        failure = std::make_exception_ptr(CliError(kExitModule, message));
    } catch (const BusError& e) {
        std::string message = BusErrorText(ctx.profile, e);
        if (access == ModuleAccess::Writes && session.DataWritten())
            message += "\n" + std::string(ctx.texts.partialWrite);
        failure = std::make_exception_ptr(CliError(kExitModule, message));
    } catch (...) {
        failure = std::current_exception();
    }
    if (ctx.stats) *ctx.stats = session.Stats();
    // A stopped command leaves its outputs as they were: no trace.
    const ModuleSession::FinishOutcome finished = session.Finish(!stopped);
    if (failure) {
        // The command's own failure decides the status; a failed save-back
        // is still worth knowing.
        if (!finished.Ok()) WriteText(stderr, finished.message + "\n");
        std::rethrow_exception(failure);
    }
    if (!finished.Ok()) throw CliError(kExitInput, finished.message);
    return code;
}

}  // namespace korvex::cli
