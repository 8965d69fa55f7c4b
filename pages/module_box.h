#pragma once
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "pages/file_page_texts.h"
#include "app/app_model.h"
#include "app/run_transfer.h"
#include "app/transfer_report.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace korvex {

struct ModuleConfig;
class SoundBox;
class TransferStatus;
class TwoWireBus;

// The File page's module box: the port list and its button, and the
// transfers with the module (Read data, Write data, Read sound, Write
// sound, Compare), the module's program version and, where the window has
// no menu for them, the fast-transfer switch and the demo module's pace. Its transfers report on the
// transfer status; the voice they read is shown by the sound box.
class ModuleBox : public QObject {
    Q_OBJECT
public:
    ModuleBox(AppModel& model, const FilePageTexts& texts, TransferStatus& status, SoundBox& sound, QWidget* page);

    // Its two parts for the page's layout, made when the page places them,
    // so that the Tab order follows the page. UpdateEnables once both exist.
    QHBoxLayout* MakePortRow();
    QGroupBox* MakeGroup();

    // The port list's entries: COM1..COM4, the serial devices present (but
    // none that COM1..COM4 already name), the demo module. Text and name.
    struct PortEntry {
        QString text;
        QString name;
    };
    static std::vector<PortEntry> PortEntries(const FilePageTexts& texts);

    // The port the list's current entry stands for: "COMn", a device path, or
    // "demo" for the simulated module; a name typed in that no entry shows
    // stands for itself (a device path, "COMn").
    QString SelectedPortName() const;
    QString VersionText() const { return versionText_; }

    // Chooses the bus timing of the link (fast or spec) for
    // this and later ports, from the box's own switch or the window's menu.
    void SetFastTransfer(bool on);
    // Chooses the demo module's pace for the next port opened (a choice of
    // kDemoPaceModels, app/demo_pace.h), from the box's own list or the
    // window's menu, and remembers it for the next session.
    void SetDemoPace(int choice);
    // The module buttons work while the port is open and no transfer runs;
    // the port list and the demo's pace only while the port is closed.
    void UpdateEnables();

signals:
    // The port was opened or closed; the Log page follows it.
    void PortStateChanged(bool open);
    // A configuration was read from the module or taken from the
    // comparison; the host reloads the pages that show it.
    void ConfigurationLoaded();

private:
    void OnOpenPort();
    void OnReadData();
    void OnWriteData();
    void OnReadSound();
    void OnWriteSound();
    void OnCompare();
    // Runs a transfer through the programs' one runner: the status line
    // says how long it will take, the bar shows its steps, and once it has
    // ended `done` takes its state (and may mark the run failed), then the
    // status line says what came of it and how long it took.
    template <typename State>
    void Run(TransferKind kind, State state, std::function<LinkOutcome(TwoWireBus&, State&, Progress&)> work,
             std::function<void(State&, TransferRun&)> done) {
        Transfer<State> transfer{kind, std::move(state), std::move(work), &StatusProgress(), {}, {}};
        transfer.begin = [this](double seconds) { BeginStatus(seconds); };
        transfer.done = [this, kind, done = std::move(done)](State& ended, const TransferRun& run) {
            TransferRun shown = run;
            if (done) done(ended, shown);
            FinishStatus(kind, shown);
        };
        model_.transfers.Run(page_, std::move(transfer));
    }
    Progress& StatusProgress();
    void BeginStatus(double seconds);
    void FinishStatus(TransferKind kind, const TransferRun& run);
    void Tell(const std::string& text);

    AppModel& model_;
    const FilePageTexts& texts_;
    TransferStatus& status_;
    SoundBox& sound_;
    QWidget* page_;
    QString versionText_;

    QComboBox* portList_ = nullptr;
    QPushButton* openPort_ = nullptr;
    QComboBox* demoPace_ = nullptr;
    QPushButton* readData_ = nullptr;
    QPushButton* writeData_ = nullptr;
    QPushButton* readSound_ = nullptr;
    QPushButton* writeSound_ = nullptr;
    QPushButton* compare_ = nullptr;
    QLineEdit* version_ = nullptr;
    QCheckBox* fast_ = nullptr;
};

}  // namespace korvex
