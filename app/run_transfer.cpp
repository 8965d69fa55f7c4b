#include "app/run_transfer.h"

#include <QWidget>
#include <cmath>
#include <utility>

#include "link/bus_error.h"
#include "link/serial_exception.h"
#include "model/file_io.h"
#include "app/app_model.h"
#include "app/posted_progress.h"
#include "app/qt_paths.h"

namespace korvex {

namespace {

// A write cut short leaves part of the new data in the module.
QString CutShort(const Profile& profile, TransferAccess access, const QString& text) {
    if (access != TransferAccess::Writes) return text;
    return text + QLatin1Char('\n') + QtText(TransferTextsFor(profile).partialWrite);
}

// A simulated module kept in a file could not store its memory: said once
// while the port is open, in the program's words, the file and the
// system's reason beneath.
void TellSaveFailure(ModuleLink& link, const Profile& profile, Dialogs& dialogs, QWidget* parent,
                     const FileOutcome& saved) {
    if (!link.FirstSaveFailure()) return;
    dialogs.Message(parent, QMessageBox::Warning, QtText(TransferTextsFor(profile).memoryNotKept),
                    QtText(saved.Message()));
}

}  // namespace

TransferAccess AccessOf(TransferKind kind) {
    switch (kind) {
        case TransferKind::WriteConfig:
        case TransferKind::WriteSound:
        case TransferKind::ClearLog: return TransferAccess::Writes;
        default: return TransferAccess::Reads;
    }
}

TransferRunner::TransferRunner(const Profile& profile, ModuleLink& link, std::unique_ptr<Dialogs>& dialogs)
    : profile_(profile), link_(link), dialogs_(dialogs) {
    // Often enough for a bar and a status line to move smoothly.
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &TransferRunner::Poll);
}

TransferRunner::~TransferRunner() {
    if (!Running()) return;
    // The window is gone: the transfer ends at its next safe point, and what
    // the module came to hold is stored; nobody is left to be told.
    stop_->store(true);
    worker_.join();
    poll_.stop();
    posted_.reset();
    if (link_.IsOpen()) {
        link_.Bus().SetStopCheck({});
        static_cast<void>(link_.Save());
    }
    link_.MarkIdle();
}

void TransferRunner::RequestStop() {
    if (Running()) stop_->store(true);
}

void TransferRunner::Start(Job job) {
    if (!link_.IsOpen() || link_.Busy() || Running()) return;
    job_ = std::move(job);
    kind_ = job_.kind;
    link_.MarkBusy();
    emit Started(kind_);
    static_cast<void>(link_.TakeDamagedMarker());
    began_ = link_.PortSeconds();
    // A fresh flag per transfer: a stop asked for the last one is not this one's.
    stop_ = std::make_shared<std::atomic<bool>>(false);
    link_.Bus().SetStopCheck([stop = stop_] { return stop->load(std::memory_order_relaxed); });
    posted_ = std::make_unique<PostedProgress>(job_.progress, job_.parent.data());
    {
        const std::lock_guard lock(handback_.mutex);
        handback_.estimate.reset();
        handback_.end.reset();
    }
    // From here until Ended the bus is the worker's. It hands back through
    // `handback_` only; the window's thread looks every kPollMs.
    worker_ = std::thread([this, &bus = link_.Bus(), work = job_.work, dryRun = job_.dryRun,
                           estimate = job_.begin ? link_.MakeEstimator() : ModuleLink::Estimator{},
                           progress = posted_.get()] {
        // The estimate first, here: a dry run of a long write takes a moment,
        // and the scratch module it runs on is nobody else's.
        if (estimate) {
            const double seconds = estimate(dryRun);
            const std::lock_guard lock(handback_.mutex);
            handback_.estimate = seconds;
        }
        WorkEnd end;
        try {
            end.outcome = work(bus, *progress);
            end.end = end.outcome.Ok() ? TransferRun::End::Done : TransferRun::End::Failed;
        } catch (const TransferStopped&) {
            end.end = TransferRun::End::Stopped;
        } catch (const BusError& e) {
            // The fast timing found the module silent or the memory refusing.
            end.end = TransferRun::End::Failed;
            end.failure = BusErrorText(profile_, e);
        } catch (const CSerialException& e) {
            end.end = TransferRun::End::PortFailed;
            end.failure = e.Message();
            if (end.failure.empty()) end.failure = TransferTextsFor(profile_).portFailure;
        } catch (const std::exception& e) {
            end.end = TransferRun::End::Failed;
            end.failure = e.what();
        }
        const std::lock_guard lock(handback_.mutex);
        handback_.end = std::move(end);
    });
    poll_.start();
}

void TransferRunner::Poll() {
    std::optional<double> estimate;
    bool ended = false;
    {
        const std::lock_guard lock(handback_.mutex);
        estimate = std::exchange(handback_.estimate, std::nullopt);
        ended = handback_.end.has_value();
    }
    if (estimate && job_.begin && job_.parent) job_.begin(*estimate);
    if (posted_) posted_->Flush();
    if (ended) Ended();
}

void TransferRunner::Ended() {
    if (!Running()) return;
    poll_.stop();
    worker_.join();
    WorkEnd end;
    {
        const std::lock_guard lock(handback_.mutex);
        end = std::move(*handback_.end);
        handback_.end.reset();
    }
    // The bus is the window's thread's again.
    link_.Bus().SetStopCheck({});
    posted_->Flush();
    posted_.reset();

    Job job = std::move(job_);
    QWidget* parent = job.parent;
    // The page that ran it is gone (a test, a window torn down): nobody to tell.
    if (!parent) {
        static_cast<void>(link_.Save());
        link_.MarkIdle();
        emit Finished(job.kind);
        return;
    }
    Dialogs& dialogs = *dialogs_;
    const TransferAccess access = AccessOf(job.kind);
    TransferRun run;
    run.end = end.end;
    run.outcome = end.outcome;
    if (!end.failure.empty()) {
        dialogs.Message(parent, QMessageBox::Warning, CutShort(profile_, access, QtText(end.failure)));
    } else if (run.end == TransferRun::End::Stopped && access == TransferAccess::Writes) {
        dialogs.Message(parent, QMessageBox::Warning,
                        QtText(TransferTextsFor(profile_).stopped) + QLatin1Char('\n') +
                            QtText(TransferTextsFor(profile_).partialWrite));
    } else if (run.end == TransferRun::End::Failed) {
        if (run.outcome.result == LinkResult::DamagedMarker) link_.NoteDamagedMarker();
        else dialogs.Message(parent, QMessageBox::Warning, QtText(OutcomeText(profile_, run.outcome)));
    }
    // Still busy: the window must not close the port before it is saved.
    // The transfer itself is what it was: the module holds what it did.
    if (const FileOutcome saved = link_.Save(); !saved.Ok()) TellSaveFailure(link_, profile_, dialogs, parent, saved);
    run.elapsed = std::chrono::milliseconds(std::llround((link_.PortSeconds() - began_) * 1000));
    run.damagedMarker = link_.TakeDamagedMarker() && run.end == TransferRun::End::Failed;

    if (job.done) job.done(run);
    link_.MarkIdle();
    emit Finished(job.kind);
    // Asked after the work, never inside it: the same transfer again once
    // the user lets the marker be written.
    if (run.damagedMarker && link_.IsOpen() &&
        dialogs.Confirm(parent, QtText(TransferTextsFor(profile_).confirmWriteMarker)))
        Start(job.behindMarker());
}

void ClosePort(AppModel& model, QWidget* parent) {
    if (const FileOutcome saved = model.link.Close(); !saved.Ok())
        TellSaveFailure(model.link, model.profile, *model.dialogs, parent, saved);
}

}  // namespace korvex
