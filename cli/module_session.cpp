#include "cli/module_session.h"

#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <system_error>

#include "cli/cli_error.h"
#include "link/bus_error.h"
#include "link/serial_exception.h"
#include "sim/demo.h"
#include "sim/port_model.h"
#include "sim/transfer_estimate.h"

#ifndef _WIN32
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

std::string TempBeside(const std::string& path) {
#ifdef _WIN32
    return path + ".tmp";
#else
    return path + ".tmp" + std::to_string(::getpid());
#endif
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

BusTiming TimingFor(const std::string& name) { return name == "fast" ? BusTiming::Fast : BusTiming::Spec; }

void CheckGlobalOptions(const Context& ctx) {
    ParseFaults(ctx.options.faults, ctx.texts);
    const bool simulated = IsSimulatedPortName(ctx.options.port);
    if (!simulated && (!ctx.options.trace.empty() || !ctx.options.faults.empty() || !ctx.options.simPort.empty()))
        throw CliError(kExitUsage, std::string(ctx.texts.simulatedOnly));
    if (!ctx.options.simPort.empty() && !FindPortModel(ctx.options.simPort)) {
        std::string known;
        for (const PortModel& m : PortModels()) known += (known.empty() ? "" : ", ") + std::string(m.name);
        throw CliError(kExitUsage, std::string(ctx.texts.unknownPortModel) + ctx.options.simPort + " (" + known + ")");
    }
    if (ctx.options.bus != "spec" && ctx.options.bus != "fast")
        throw CliError(kExitUsage, std::string(ctx.texts.unknownBusTiming) + ctx.options.bus);
}

ModuleSession::ModuleSession(const Context& ctx) : ctx_(ctx) {
    CheckGlobalOptions(ctx);  // callers check first; a session never opens a serial port with faults
    const SimulatedModule::Faults faults = ParseFaults(ctx.options.faults, ctx.texts);

    // The trace file first: a trace that cannot be written stops the command
    // before the module is touched.
    if (!ctx.options.trace.empty()) {
        traceTemp_ = TempBeside(ctx.options.trace);
        trace_.open(traceTemp_, std::ios::binary | std::ios::trunc);
        if (!trace_) {
            throw CliError(kExitInput, std::string(ctx.texts.traceFile) + ctx.options.trace + ": " +
                                           std::error_code(errno, std::generic_category()).message());
        }
    }

    PortOpening opening = OpenModulePort(ctx.options.port, ctx.profile);
    if (!opening.Ok()) {
        if (trace_.is_open()) {
            trace_.close();
            std::error_code ignored;
            std::filesystem::remove(traceTemp_, ignored);
        }
        switch (opening.failure) {
            case PortOpening::Failure::Port:
                throw CliError(kExitModule, std::string(ctx.profile.texts.portNotOpened) + " (" + opening.reason + ")");
            case PortOpening::Failure::FileSize:
                throw CliError(kExitInput, std::string(ctx.texts.moduleFileSize) + opening.file.string() + " (" +
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
        if (!ctx.options.simPort.empty()) module->SetPortModel(*FindPortModel(ctx.options.simPort));
        module->GetFaults() = faults;
        if (trace_.is_open()) module->SetTrace(&trace_);
    }
}

void ModuleSession::Prepare() { bus_ = std::make_unique<PortBus>(*port_, TimingFor(ctx_.options.bus)); }

void ModuleSession::RequireUsable() const {
    if (!Probe().Usable()) throw CliError(kExitModule, std::string(ctx_.profile.texts.cableCannotRead));
}

void ModuleSession::Announce(const std::function<void(TwoWireBus&)>& operation) {
#ifndef _WIN32
    if (!::isatty(STDERR_FILENO)) return;
#endif
    const SimulatedModule* module = port_->Simulated();
    const auto memory = module ? module->Memory() : MakeDemoMemory(ctx_.profile);
    const double seconds = EstimateSeconds(CostsFrom(Probe()), Bus().Timing(), memory, operation);
    std::fprintf(stderr, "%s\n", AboutText(seconds, ctx_.profile.kind == ModuleKind::Compact).c_str());
}

ModuleSession::~ModuleSession() {
    if (!finished_) Finish();
}

std::string ModuleSession::Finish() {
    finished_ = true;
    progress_.Hide();
    std::string failure;
    if (SimulatedModule* module = port_->Simulated()) {
        module->SetTrace(nullptr);
        if (std::string error = port_->SaveBack(); !error.empty())
            failure = std::string(ctx_.texts.moduleFileSave) + error;
    }
    if (trace_.is_open()) {
        trace_.close();
        std::error_code ec;
        if (!trace_) ec = std::make_error_code(std::errc::io_error);
        if (!ec) std::filesystem::rename(traceTemp_, ctx_.options.trace, ec);
        if (ec) {
            std::error_code ignored;
            std::filesystem::remove(traceTemp_, ignored);
            if (failure.empty()) failure = std::string(ctx_.texts.traceFile) + ctx_.options.trace + ": " + ec.message();
        }
    }
    port_.reset();  // a serial port closes here
    return failure;
}

void RequireOk(const Context& ctx, const LinkOutcome& outcome) {
    if (outcome.Ok()) return;
    std::string message(OutcomeText(ctx.profile, outcome));
    if (outcome.result == LinkResult::Mismatch) {
        message += " (" + std::string(ctx.texts.atAddress) + " " + std::to_string(outcome.address) + ")";
        throw CliError(kExitMismatch, message);
    }
    throw CliError(kExitModule, message);
}

int RunOnModule(const Context& ctx, const std::function<int(ModuleSession&)>& body, bool probeOnly) {
    ModuleSession session(ctx);
    int code = kExitOk;
    std::exception_ptr failure;
    try {
        session.Prepare();
        if (!probeOnly) session.RequireUsable();
        code = body(session);
    } catch (const CSerialException& e) {
        failure = std::make_exception_ptr(CliError(kExitModule, std::string(ctx.texts.portError) + e.Message()));
    } catch (const BusError& e) {
        failure = std::make_exception_ptr(CliError(kExitModule, BusErrorText(ctx.profile, e)));
    } catch (...) {
        failure = std::current_exception();
    }
    if (ctx.stats) *ctx.stats = session.Stats();
    const std::string finishError = session.Finish();
    if (failure) {
        // The command's own failure decides the status; a failed save-back
        // is still worth knowing.
        if (!finishError.empty()) std::fprintf(stderr, "%s\n", finishError.c_str());
        std::rethrow_exception(failure);
    }
    if (!finishError.empty()) throw CliError(kExitInput, finishError);
    return code;
}

}  // namespace korvex::cli
