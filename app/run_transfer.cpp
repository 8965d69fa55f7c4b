#include "app/run_transfer.h"

#include <QElapsedTimer>
#include <QWidget>

#include "link/bus_error.h"
#include "link/device_link.h"
#include "link/serial_exception.h"
#include "app/app_model.h"
#include "app/transfer_report.h"

namespace korvex {

namespace {

QString Utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

TransferRun RunTransfer(AppModel& model, QWidget* parent, const std::function<bool(TwoWireBus&)>& work) {
    TransferRun run;
    ModuleLink& link = model.link;
    if (!link.IsOpen() || link.Busy()) return run;
    QElapsedTimer clock;
    clock.start();
    {
        ModuleLink::BusyScope busy(link);
        try {
            run.end = work(link.Bus()) ? TransferRun::End::Done : TransferRun::End::Failed;
        } catch (const BusError& e) {
            // The fast timing found the module silent or the memory refusing.
            run.end = TransferRun::End::Failed;
            model.dialogs->Message(parent, QMessageBox::Warning, Utf8(BusErrorText(model.profile, e)));
        } catch (const CSerialException& e) {
            run.end = TransferRun::End::PortFailed;
            const std::string text = e.Message();
            model.dialogs->Message(parent, QMessageBox::Warning,
                                   text.empty() ? Utf8(TransferTextsFor(model.profile).portFailure) : Utf8(text));
        }
        // Still busy: the window must not close the port before it is saved.
        if (const std::string error = link.Save(); !error.empty()) {
            model.dialogs->Message(parent, QMessageBox::Warning, Utf8(error));
            if (run.end == TransferRun::End::Done) run.end = TransferRun::End::Failed;
        }
    }
    run.elapsed = std::chrono::milliseconds(clock.elapsed());
    return run;
}

}  // namespace korvex
