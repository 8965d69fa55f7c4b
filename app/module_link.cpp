#include "app/module_link.h"

#include "link/path_text.h"
#include "link/serial_exception.h"

namespace korvex {

PortOpener DefaultPortOpener() { return &OpenModulePort; }

ModuleLink::ModuleLink(const Profile& profile, PortOpener opener) : profile_(profile), opener_(std::move(opener)) {}

ModuleLink::~ModuleLink() { Close(); }

bool ModuleLink::Open(const std::string& name) {
    Close();
    lastError_.clear();
    PortOpening opening;
    try {
        if (opener_) opening = opener_(name, profile_);
    } catch (const std::exception& e) {
        opening = PortOpening{};
        opening.failure = PortOpening::Failure::Port;
        opening.reason = e.what();
    }
    if (!opening.Ok() || !opening.port) {
        lastError_ = opening.reason;
        if (lastError_.empty() && opening.failure == PortOpening::Failure::FileSize) {
            lastError_ = PathToUtf8(opening.file) + ": " + std::to_string(opening.size) + " bytes, not " +
                         std::to_string(SimulatedModule::kSize);
        }
        return false;
    }
    port_ = std::move(opening.port);
    held_.clear();
    try {
        bus_ = std::make_unique<PortBus>(*port_, timing_);
    } catch (const CSerialException& e) {
        lastError_ = e.Message();
        Close();
        return false;
    }
    if (!bus_->Probe().Usable()) {
        lastError_ = std::string(profile_.texts.cableCannotRead);
        Close();
        return false;
    }
    return true;
}

void ModuleLink::SetTiming(BusTiming timing) {
    timing_ = timing;
    if (bus_) bus_->Bus().SetTiming(timing);
}

ModuleLink::BusyScope::~BusyScope() {
    if (--link_.busy_ == 0 && link_.onIdle_) link_.onIdle_();
}

std::string ModuleLink::Save() { return port_ ? port_->SaveBack() : std::string(); }

void ModuleLink::Close() noexcept {
    held_.clear();
    if (!port_) return;
    bus_.reset();
    // Closing is silent: a port that fails while closing is closed all the same.
    try {
        port_->SaveBack();
    } catch (...) {
    }
    port_.reset();
}

}  // namespace korvex
