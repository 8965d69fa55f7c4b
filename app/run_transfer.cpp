#include "app/run_transfer.h"

#include <QWidget>
#include <cmath>

#include "link/bus_error.h"
#include "link/device_link.h"
#include "link/serial_exception.h"
#include "model/file_io.h"
#include "app/app_model.h"
#include "app/qt_paths.h"
#include "app/transfer_report.h"

namespace korvex {

namespace {

// A write cut short leaves part of the new data in the module.
QString CutShort(const AppModel& model, TransferAccess access, const QString& text) {
    if (access != TransferAccess::Writes) return text;
    return text + QLatin1Char('\n') + QtText(TransferTextsFor(model.profile).partialWrite);
}

// A simulated module kept in a file could not store its memory: said once
// while the port is open, in the program's words, the file and the
// system's reason beneath.
void TellSaveFailure(AppModel& model, QWidget* parent, const FileOutcome& saved) {
    if (!model.link.FirstSaveFailure()) return;
    model.dialogs->Message(parent, QMessageBox::Warning, QtText(TransferTextsFor(model.profile).memoryNotKept),
                           QtText(saved.Message()));
}

}  // namespace

TransferRun RunTransfer(AppModel& model, QWidget* parent, const std::function<bool(TwoWireBus&)>& work,
                        TransferAccess access) {
    TransferRun run;
    ModuleLink& link = model.link;
    if (!link.IsOpen() || link.Busy()) return run;
    const double began = link.PortSeconds();
    {
        ModuleLink::BusyScope busy(link);
        static_cast<void>(link.TakeDamagedMarker());  // a note is this run's only
        try {
            run.end = work(link.Bus()) ? TransferRun::End::Done : TransferRun::End::Failed;
        } catch (const BusError& e) {
            // The fast timing found the module silent or the memory refusing.
            run.end = TransferRun::End::Failed;
            model.dialogs->Message(parent, QMessageBox::Warning,
                                   CutShort(model, access, QtText(BusErrorText(model.profile, e))));
        } catch (const CSerialException& e) {
            run.end = TransferRun::End::PortFailed;
            const std::string text = e.Message();
            model.dialogs->Message(
                parent, QMessageBox::Warning,
                CutShort(model, access,
                         text.empty() ? QtText(TransferTextsFor(model.profile).portFailure) : QtText(text)));
        }
        // Still busy: the window must not close the port before it is saved.
        // The transfer itself is what it was: the module holds what it did.
        if (const FileOutcome saved = link.Save(); !saved.Ok()) TellSaveFailure(model, parent, saved);
    }
    run.elapsed = std::chrono::milliseconds(std::llround((link.PortSeconds() - began) * 1000));
    run.damagedMarker = link.TakeDamagedMarker() && run.end == TransferRun::End::Failed;
    return run;
}

void TellOutcome(AppModel& model, QWidget* parent, const LinkOutcome& outcome) {
    if (outcome.Ok()) return;
    if (outcome.result == LinkResult::DamagedMarker) {
        model.link.NoteDamagedMarker();
        return;
    }
    model.dialogs->Message(parent, QMessageBox::Warning, QtText(OutcomeText(model.profile, outcome)));
}

bool AskToWriteMarker(AppModel& model, QWidget* parent, const TransferRun& run) {
    if (!run.damagedMarker) return false;
    return model.dialogs->Confirm(parent, QtText(TransferTextsFor(model.profile).confirmWriteMarker));
}

std::function<bool(TwoWireBus&)> WithMarkerWritten(AppModel& model, QWidget* parent,
                                                   std::function<bool(TwoWireBus&)> work) {
    return [&model, parent, work = std::move(work)](TwoWireBus& bus) {
        const LinkOutcome marked = IdentifyDevice(bus, model.profile, MarkerWrite::OverDamaged);
        if (!marked.Ok()) {
            TellOutcome(model, parent, marked);
            return false;
        }
        return work(bus);
    };
}

std::function<void(TwoWireBus&)> WithMarkerWritten(const Profile& profile, std::function<void(TwoWireBus&)> dryRun) {
    return [&profile, dryRun = std::move(dryRun)](TwoWireBus& bus) {
        static_cast<void>(IdentifyDevice(bus, profile, MarkerWrite::OverDamaged));  // only its bus calls count
        dryRun(bus);
    };
}

void ClosePort(AppModel& model, QWidget* parent) {
    if (const FileOutcome saved = model.link.Close(); !saved.Ok()) TellSaveFailure(model, parent, saved);
}

}  // namespace korvex
