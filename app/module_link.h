#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "link/profile.h"
#include "link/line_probe.h"
#include "link/two_wire_bus.h"
#include "model/file_io.h"
#include "sim/port_bus.h"
#include "sim/port_factory.h"
#include "sim/port_model.h"

namespace korvex {

// Opens the port a name stands for ("COMn", a device path, "sim:FILE",
// "demo"). The program uses OpenModulePort; tests hand in a simulated module.
using PortOpener = std::function<PortOpening(const std::string& name, const Profile& profile)>;
PortOpener DefaultPortOpener();

// What opening the port came to.
struct [[nodiscard]] PortOutcome {
    bool open = false;
    std::string error;  // why not, as the program shows it: the system's, the file's or the cable's words
    bool Ok() const { return open; }
};

// The link the File page opens and closes and the Log page borrows: the
// port-open state and the bus on the open port. Tests replace the opener
// so that nothing reaches a real device.
class ModuleLink {
public:
    explicit ModuleLink(const Profile& profile, PortOpener opener = DefaultPortOpener());
    ~ModuleLink();
    ModuleLink(const ModuleLink&) = delete;
    ModuleLink& operator=(const ModuleLink&) = delete;

    // OpenLink, then the line probe: fails when the port could not be
    // opened or its cable cannot read the module back, and says why.
    PortOutcome Open(const std::string& name);
    // Closes the port whatever its state, after a simulated module kept in a
    // file has stored what changed; the outcome is that store's (Ok for a
    // serial port). The programs tell a failure (ClosePort in
    // app/run_transfer.h); only a destructor may drop it.
    FileOutcome Close() noexcept;
    bool IsOpen() const { return port_ != nullptr; }

    // The bus on the open port; only while IsOpen().
    TwoWireBus& Bus() { return bus_->Bus(); }
    // What the probe found when the port opened; only while IsOpen().
    const LineProbe& Probe() const { return bus_->Probe(); }
    // The bus timing for this and every later port; spec until chosen. A
    // transfer running now keeps the timing it started with.
    void SetTiming(BusTiming timing);
    BusTiming Timing() const { return timing_; }
    // What the module held of the configuration at the last read or verify
    // since the port opened; empty when nothing is known. The fast timing
    // writes only what differs from it, so whoever writes empties it first
    // and sets it only once the write has read back whole.
    std::vector<std::uint8_t>& HeldImage() { return held_; }
    // Called whenever the port opens or closes, after HeldImage is emptied:
    // whatever else was known of a module's memory is known no longer.
    void SetForgetHandler(std::function<void()> handler) { onForget_ = std::move(handler); }
    // The chosen timing is the standard one on a cable whose status is a
    // cached copy: the standard timing can misread bytes there. Only while IsOpen().
    bool SpecMayMisread() const { return timing_ == BusTiming::Spec && !Probe().liveStatus; }
    // What prices a dry run: how long `dryRun` will take on this port with the chosen timing: it runs
    // on a scratch module holding what the simulated module holds (the demo
    // content behind a serial port), each call priced as the probe measured.
    // Only while IsOpen(); `dryRun` must work on throwaway buffers.
    // It is a value that may run on another thread: what it needs of the
    // port is copied now.
    using Estimator = std::function<double(const std::function<void(TwoWireBus&)>& dryRun)>;
    Estimator MakeEstimator() const;
    // The port's time since it opened: virtual on a simulated module, so a
    // transfer reports what it would take on such a cable. 0 while closed.
    double PortSeconds() const { return bus_ ? bus_->Stats().seconds : 0.0; }
    // The simulated module behind the port, if it is one.
    SimulatedModule* Simulated() { return port_ ? port_->Simulated() : nullptr; }
    // The pace of a simulated module (the demo) opened from now on: nullptr
    // leaves it as it opens, in virtual time, as fast as the machine runs
    // (the default); a port model makes it charge that model's costs and
    // take them in wall-clock time, as on such a cable. It is set before the
    // probe, so the estimates and the fast timing's guard are that cable's.
    // A port open already keeps its pace.
    void SetDemoPace(const PortModel* cable) { demoPace_ = cable; }
    const PortModel* DemoPace() const { return demoPace_; }
    // Called after every transfer, whether it ended well or not: a simulated
    // module kept in a file stores what the transfer changed (Ok for a
    // serial port or a closed link).
    FileOutcome Save();
    // True the first time it is asked since the port opened: a simulated
    // module's file that cannot be kept is told once, not after every
    // transfer.
    bool FirstSaveFailure() { return !std::exchange(saveFailureTold_, true); }

    void SetOpener(PortOpener opener) { opener_ = std::move(opener); }

    // While a transfer runs (app/run_transfer.h) the bus is a worker
    // thread's: the window knows not to close the port or touch the bus.
    // The idle handler runs when the transfer has ended.
    void MarkBusy() { busy_ = true; }
    void MarkIdle();
    bool Busy() const { return busy_; }
    void SetIdleHandler(std::function<void()> handler) { onIdle_ = std::move(handler); }

    // A transfer's work found a damaged marker; the runner takes the note
    // when the work has ended.
    void NoteDamagedMarker() { damagedMarker_ = true; }
    bool TakeDamagedMarker() { return std::exchange(damagedMarker_, false); }

private:
    void Forget() noexcept;

    const Profile& profile_;
    PortOpener opener_;
    std::unique_ptr<ModulePort> port_;
    std::unique_ptr<PortBus> bus_;
    BusTiming timing_ = BusTiming::Spec;
    const PortModel* demoPace_ = nullptr;
    std::vector<std::uint8_t> held_;
    bool busy_ = false;
    bool saveFailureTold_ = false;
    bool damagedMarker_ = false;
    std::function<void()> onIdle_;
    std::function<void()> onForget_;
};

}  // namespace korvex
