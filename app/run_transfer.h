#pragma once
#include <chrono>
#include <functional>

class QWidget;

namespace korvex {

struct AppModel;
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

// The one way the programs close the port when the user does: a simulated
// module that cannot store what changed is told, as after a transfer.
void ClosePort(AppModel& model, QWidget* parent);

}  // namespace korvex
