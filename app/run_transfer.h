#pragma once
#include <chrono>
#include <functional>

class QWidget;

namespace korvex {

struct AppModel;
struct LinkOutcome;
struct Profile;
class TwoWireBus;

struct TransferRun {
    enum class End {
        NotRun,      // no open port, or another transfer is running
        PortFailed,  // the port failed; the user was told with the system's text
        Failed,      // the work said it did not do what it was asked
        Done,
    };
    End end = End::NotRun;
    std::chrono::milliseconds elapsed{0};  // the port's time: virtual on a simulated module
    // The work stopped at a marker that is neither blank nor either
    // program's (TellOutcome noted it) and did nothing: AskToWriteMarker.
    bool damagedMarker = false;
    bool Done() const { return end == End::Done; }
};

// Whether a transfer writes to the module: one cut short by a port failure
// may have left part of the new data there.
enum class TransferAccess { Reads, Writes };

// The one way a page runs a transfer on the open port, in both programs.
// While `work` runs the link is busy: the window drops input and puts off a
// close (TransferGuard). A port failure stops the work and is told with the
// system's text (for a write, with the word that the module may now hold
// part of the new data and the write should be repeated); afterwards a
// simulated module stores what the transfer changed, and a failed store is
// told too. `work` returns false when the module did not do what was asked
// (it tells the user why itself).
TransferRun RunTransfer(AppModel& model, QWidget* parent, const std::function<bool(TwoWireBus&)>& work,
                        TransferAccess access = TransferAccess::Reads);

// Inside a transfer's work, for a module operation that did not succeed: a
// damaged marker is noted for the page to ask about once the work has ended
// (a work never asks); any other outcome is told with the program's text.
void TellOutcome(AppModel& model, QWidget* parent, const LinkOutcome& outcome);

// After a transfer whose work stopped at a damaged marker: asks whether to
// write the program's marker there, No the default. True for Yes; the page
// then runs the transfer again, its work and dry run behind WithMarkerWritten.
bool AskToWriteMarker(AppModel& model, QWidget* parent, const TransferRun& run);

// `work` once the program's marker is written over the damaged one (never
// over the other program's: that is told, and `work` is not run).
std::function<bool(TwoWireBus&)> WithMarkerWritten(AppModel& model, QWidget* parent,
                                                   std::function<bool(TwoWireBus&)> work);
// The same for the dry run that prices it.
std::function<void(TwoWireBus&)> WithMarkerWritten(const Profile& profile, std::function<void(TwoWireBus&)> dryRun);

// The one way the programs close the port when the user does: a simulated
// module that cannot store what changed is told, as after a transfer.
void ClosePort(AppModel& model, QWidget* parent);

}  // namespace korvex
