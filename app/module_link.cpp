#include "app/module_link.h"

#include "link/path_text.h"
#include "link/serial_exception.h"
#include "sim/demo.h"
#include "sim/transfer_estimate.h"
#if KORVEX_WITH_FTDI
#include "ftdi/ftdi_port.h"
#endif

namespace korvex {

PortOpener DefaultPortOpener() {
#if KORVEX_WITH_FTDI
    SetFtdiPortOpener(&OpenFtdiCable);
#endif
    return &OpenModulePort;
}

ModuleLink::ModuleLink(const Profile& profile, PortOpener opener) : profile_(profile), opener_(std::move(opener)) {}

// Whoever closes the port on purpose tells a failed save; here it is too late.
ModuleLink::~ModuleLink() { static_cast<void>(Close()); }

PortOutcome ModuleLink::Open(const std::string& name) {
    // The caller closes an open port first and tells what that came to.
    static_cast<void>(Close());
    PortOutcome outcome;
    PortOpening opening;
    try {
        if (opener_) opening = opener_(name, profile_);
    } catch (const std::exception& e) {
        opening = PortOpening{};
        opening.failure = PortOpening::Failure::Port;
        opening.reason = e.what();
    }
    if (!opening.Ok() || !opening.port) {
        outcome.error = opening.reason;
        if (outcome.error.empty() && opening.failure == PortOpening::Failure::FileSize) {
            outcome.error = PathToUtf8(opening.file) + ": " + std::to_string(opening.size) + " bytes, not " +
                            std::to_string(SimulatedModule::kSize);
        }
        return outcome;
    }
    port_ = std::move(opening.port);
    saveFailureTold_ = false;
    Forget();
    if (SimulatedModule* module = port_->Simulated(); module && demoPace_) {
        module->SetPortModel(*demoPace_);
        module->SetRealPace(true);
    }
    try {
        bus_ = std::make_unique<PortBus>(*port_, timing_);
    } catch (const CSerialException& e) {
        outcome.error = e.Message();
    }
    if (outcome.error.empty() && !bus_->Probe().Usable()) outcome.error = std::string(profile_.texts.cableCannotRead);
    if (!outcome.error.empty()) {
        // Only the probe ran: nothing was changed that a save could lose.
        static_cast<void>(Close());
        return outcome;
    }
    outcome.open = true;
    return outcome;
}

void ModuleLink::SetTiming(BusTiming timing) {
    timing_ = timing;
    // A running transfer keeps its timing; the next one takes this.
    if (bus_ && !busy_) bus_->Bus().SetTiming(timing);
}

void ModuleLink::MarkIdle() {
    busy_ = false;
    if (bus_) bus_->Bus().SetTiming(timing_);
    if (onIdle_) onIdle_();
}

FileOutcome ModuleLink::Save() { return port_ ? port_->SaveBack() : FileOutcome{}; }

ModuleLink::Estimator ModuleLink::MakeEstimator() const {
    const SimulatedModule* module = port_->Simulated();
    auto memory = std::make_shared<const std::array<std::uint8_t, SimulatedModule::kSize>>(
        module ? module->Memory() : MakeDemoMemory(profile_));
    return [costs = CostsFrom(Probe()), timing = timing_, memory](const std::function<void(TwoWireBus&)>& dryRun) {
        return korvex::EstimateSeconds(costs, timing, *memory, dryRun);
    };
}

void ModuleLink::Forget() noexcept {
    held_.clear();
    if (!onForget_) return;
    try {
        onForget_();
    } catch (...) {
    }
}

FileOutcome ModuleLink::Close() noexcept {
    Forget();
    if (!port_) return {};
    bus_.reset();
    // The port is closed whatever the save came to.
    FileOutcome saved;
    try {
        saved = port_->SaveBack();
    } catch (const std::exception& e) {
        saved.failed = FileStep::Write;
        saved.reason = e.what();
    }
    port_.reset();
    return saved;
}

}  // namespace korvex
