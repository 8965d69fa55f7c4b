#pragma once
#include <QString>
#include <functional>
#include <memory>

#include "audio/sound_intake.h"
#include "pages/file_page_texts.h"
#include "app/page.h"
#include "app/transfer_report.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace korvex {

class BarProgress;
struct ModuleConfig;
class ImageButton;
class TwoWireBus;
class WaveformView;
class WavPlayer;

// The first page: the port, the module transfers, project files and the
// voice slots. Everything follows the profile, so the compact program uses
// the same page with its own slots, messages and English texts.
class FilePage : public Page {
    Q_OBJECT
public:
    FilePage(AppModel& model, QWidget* parent = nullptr);
    ~FilePage() override;

    // The port the list's current entry stands for: "COMn", a device path, or
    // "demo" for the simulated module.
    QString SelectedPortName() const;
    QString VersionText() const { return versionText_; }
    // True while a transfer runs inside one of the button handlers.
    bool TransferRunning();

    // The port list's entries: COM1..COM4, the serial devices present (but
    // none that COM1..COM4 already name), the demo module. Text and name.
    struct PortEntry {
        QString text;
        QString name;
    };
    static std::vector<PortEntry> PortEntries(const FilePageTexts& texts);

    // Chooses the bus timing of the link (fast or spec) for
    // this and later ports, from the page's own switch or the window's menu.
    void SetFastTransfer(bool on);

    // Project Open and Save, also the window's File menu commands. Save
    // asks for the file; true once the settings are saved.
    void OpenProject();
    bool SaveProject();
    // Saves into the project file the settings belong to, or asks for one
    // when none is named (the window's question before closing).
    bool SaveEdits();

signals:
    // The port was opened or closed; the Log page follows it.
    void PortStateChanged(bool open);
    // A configuration was read from the module or loaded from a project
    // file; the host reloads the pages that show it.
    void ConfigurationLoaded();

private:
    void Build();
    void OnOpenPort();
    void OnReadData();
    void OnWriteData();
    void LoadWavFile();
    void OnReadSound();
    void OnWriteSound();
    void OnSoundSlotChange(int index);
    void OnCompare();
    void PlayPreview();
    void SpeakText();
    // Loads sound through `load`; a sound too long is offered for cutting.
    void LoadSoundWith(const std::function<SoundOutcome(const SoundOptions&)>& load);

    void UpdateEnables();
    void ShowFreeMemory();
    void ShowWaveform();
    // Runs a transfer through the programs' one transfer path, the module
    // buttons greyed meanwhile, then says on the status line what came of it
    // and how long it took.
    // While it runs the status line says how long it will take, from
    // `dryRun` (the same operation on throwaway buffers).
    void RunTransfer(TransferKind kind, const std::function<bool(TwoWireBus&)>& work,
                     const std::function<void(TwoWireBus&)>& dryRun);
    // Tells on the status line that the chosen timing may misread this cable.
    void AdviseOnCable();
    bool SaveProjectTo(const QString& path);
    void Tell(const std::string& text);
    // Read data into `out` for Read data and Compare: a failure is told; a
    // read records what the module holds.
    bool ReadModuleInto(TwoWireBus& bus, ModuleConfig& out);
    void TellFileError(std::string_view what, const std::string& path, const std::string& reason);

    const FilePageTexts& texts_;
    QString versionText_;

    QComboBox* portList_ = nullptr;
    QPushButton* openPort_ = nullptr;
    WaveformView* waveform_ = nullptr;
    QPushButton* projectSave_ = nullptr;
    QPushButton* projectOpen_ = nullptr;
    QPushButton* readData_ = nullptr;
    QPushButton* writeData_ = nullptr;
    QPushButton* readSound_ = nullptr;
    QPushButton* writeSound_ = nullptr;
    QPushButton* compare_ = nullptr;
    QLineEdit* version_ = nullptr;
    QCheckBox* fast_ = nullptr;
    QComboBox* slotList_ = nullptr;
    ImageButton* play_ = nullptr;
    QPushButton* soundOpen_ = nullptr;
    QPushButton* speak_ = nullptr;
    QLabel* memoryText_ = nullptr;
    QProgressBar* memoryBar_ = nullptr;
    QLabel* status_ = nullptr;
    QProgressBar* transferBar_ = nullptr;
    std::unique_ptr<BarProgress> progress_;
    WavPlayer* player_ = nullptr;
};

}  // namespace korvex
