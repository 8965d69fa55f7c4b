#pragma once
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "link/device_link.h"
#include "link/progress.h"
#include "app/transfer_report.h"

class QWidget;

namespace korvex {

struct AppModel;
class Dialogs;
class PostedProgress;
class ModuleLink;
class TwoWireBus;

struct TransferRun {
    enum class End {
        NotRun,      // no open port, or another transfer is running
        PortFailed,  // the port failed; the user was told with the system's text
        Failed,      // the work said it did not do what it was asked
        Stopped,     // the user stopped it at a safe point
        Done,
    };
    End end = End::NotRun;
    LinkOutcome outcome;                   // what the work returned, when it returned
    std::chrono::milliseconds elapsed{0};  // the port's time: virtual on a simulated module
    // The work stopped at a marker that is neither blank nor either
    // program's and did nothing: the runner asks whether to write one.
    bool damagedMarker = false;
    // Set by the page's `done`: the fast timing found the module holding
    // everything already and wrote no byte.
    bool nothingWritten = false;
    bool Done() const { return end == End::Done; }
};

// Whether a transfer writes to the module: one cut short by a port failure
// or a stop may have left part of the new data there.
enum class TransferAccess { Reads, Writes };
TransferAccess AccessOf(TransferKind kind);

// A transfer as a value: the state it works on (copies of what it reads,
// room for what it gives) and one call on the bus. The call runs on a
// worker thread and touches nothing but its state and the bus; the same
// call on a copy of the state, on a scratch module, prices it beforehand.
template <typename State>
struct Transfer {
    TransferKind kind = TransferKind::ReadConfig;
    State state;
    std::function<LinkOutcome(TwoWireBus&, State&, Progress&)> work;
    // Where the work's steps show, on the window's thread; may be null.
    Progress* progress = nullptr;
    // On the window's thread, before the work starts: its estimate.
    std::function<void(double seconds)> begin;
    // On the window's thread once the work has ended, however it ended (not
    // for NotRun): the state as the work left it. Failures were told.
    std::function<void(State&, const TransferRun&)> done;
};

// The one way the pages run a transfer on the open port, in both programs.
//
// The link (port, bus, what the module is known to hold) belongs to the
// window's thread. Run hands the bus to one worker thread for the length
// of the work and takes it back when the work has ended; meanwhile the
// link is Busy(), nothing on the window's thread touches the bus, and the
// pages lock what the transfer reads or writes (Started/Finished). The
// work's progress is posted back to the window's thread, coalesced.
//
// Once the work has ended, on the window's thread: a port failure or the
// fast timing's bus error is told with the system's text (for a write, with
// the word that the module may now hold part of the new data); a stopped
// write is told so too; a work's failed outcome is told in the program's
// words; a simulated module stores what the transfer changed; then `done`
// runs. A damaged marker is asked about afterwards, and on Yes the same
// transfer runs again behind a marker write.
class TransferRunner final : public QObject {
    Q_OBJECT
public:
    TransferRunner(const Profile& profile, ModuleLink& link, std::unique_ptr<Dialogs>& dialogs);
    // Stops a running transfer at its next safe point and waits for it.
    ~TransferRunner() override;
    TransferRunner(const TransferRunner&) = delete;
    TransferRunner& operator=(const TransferRunner&) = delete;

    template <typename State>
    void Run(QWidget* parent, Transfer<State> transfer) {
        Start(MakeJob(parent, std::make_shared<const Transfer<State>>(std::move(transfer)), false));
    }

    bool Running() const { return worker_.joinable(); }
    TransferKind Kind() const { return kind_; }  // only while Running()
    // The running transfer stops at its next safe point: between bytes of a
    // read, between page writes. Nothing while none runs.
    void RequestStop();
    bool StopRequested() const { return stop_->load(); }

signals:
    void Started(TransferKind kind);
    // After `done`: the pages unlock.
    void Finished(TransferKind kind);

private:
    struct Job {
        TransferKind kind = TransferKind::ReadConfig;
        QPointer<QWidget> parent;
        Progress* progress = nullptr;
        std::function<LinkOutcome(TwoWireBus&, Progress&)> work;
        std::function<void(TwoWireBus&)> dryRun;
        std::function<void(double)> begin;
        std::function<void(const TransferRun&)> done;
        std::function<Job()> behindMarker;  // the same once more, after a marker write
    };
    // What the worker hands back.
    struct WorkEnd {
        TransferRun::End end = TransferRun::End::Done;
        LinkOutcome outcome;
        std::string failure;  // the text to tell, for PortFailed and bus errors
    };

    template <typename State>
    Job MakeJob(QWidget* parent, std::shared_ptr<const Transfer<State>> t, bool markerFirst) {
        Job job;
        job.kind = t->kind;
        job.parent = parent;
        job.progress = t->progress;
        job.begin = t->begin;
        const Profile& profile = profile_;
        auto state = std::make_shared<State>(t->state);
        job.work = [t, state, markerFirst, &profile](TwoWireBus& bus, Progress& progress) {
            if (markerFirst) {
                const LinkOutcome marked = IdentifyDevice(bus, profile, MarkerWrite::OverDamaged);
                if (!marked.Ok()) return marked;
            }
            return t->work(bus, *state, progress);
        };
        job.dryRun = [t, markerFirst, &profile](TwoWireBus& bus) {
            auto scratch = std::make_unique<State>(t->state);  // large states stay off the stack
            NullProgress quiet;
            if (markerFirst) static_cast<void>(IdentifyDevice(bus, profile, MarkerWrite::OverDamaged));
            static_cast<void>(t->work(bus, *scratch, quiet));  // only its bus calls count
        };
        job.done = [t, state](const TransferRun& run) {
            if (t->done) t->done(*state, run);
        };
        job.behindMarker = [this, parent, t] { return MakeJob(parent, t, true); };
        return job;
    }

    void Start(Job job);
    void Poll();
    void Ended();

    const Profile& profile_;
    ModuleLink& link_;
    std::unique_ptr<Dialogs>& dialogs_;
    Job job_;
    TransferKind kind_ = TransferKind::ReadConfig;
    double began_ = 0;
    std::shared_ptr<std::atomic<bool>> stop_ = std::make_shared<std::atomic<bool>>(false);
    std::unique_ptr<PostedProgress> posted_;
    // What the worker hands back; the window's thread polls it. No Qt call
    // crosses the threads, so every hand-over is one a thread checker sees.
    struct Handback {
        std::mutex mutex;
        std::optional<double> estimate;
        std::optional<WorkEnd> end;
    } handback_;
    static constexpr int kPollMs = 15;
    QTimer poll_;
    std::thread worker_;
};

// The one way the programs close the port when the user does: a simulated
// module that cannot store what changed is told, as after a transfer.
void ClosePort(AppModel& model, QWidget* parent);

}  // namespace korvex
