#include "pages/module_box.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#ifndef _WIN32
#include <QSerialPortInfo>
#endif
#include <algorithm>
#include <memory>
#include <optional>
#include <set>
#include <utility>

#include "link/device_link.h"
#include "link/port_list.h"
#include "link/serial_port.h"
#include "voice/voice_transfer.h"
#include "voice/wav_buffer.h"
#include "model/clock.h"
#include "model/config_transfer.h"
#include "model/image_codec.h"
#include "model/image_layout.h"
#include "app/app_model.h"
#include "app/bar_progress.h"
#include "app/demo_pace.h"
#include "app/edits_guard.h"
#include "app/program_settings.h"
#include "app/qt_paths.h"
#include "app/run_transfer.h"
#include "pages/box_helpers.h"
#include "pages/compare_dialog.h"
#include "pages/demo_pace_texts.h"
#include "pages/module_tools_texts.h"
#include "pages/sound_box.h"
#include "pages/transfer_status.h"
#if KORVEX_WITH_FTDI
#include "ftdi/ftdi_port.h"
#endif

namespace korvex {

namespace {

constexpr int kPortCount = 4;
constexpr const char* kDemoName = "demo";
// The demo module's pace kept between sessions: the port model's name, empty for virtual time.
constexpr const char* kDemoPaceKey = "demoPace";

QString VersionOf(const std::vector<std::uint8_t>& image) {
    const std::span<const std::uint8_t> bytes(image);
    return QString::fromStdString(ProgramVersion(bytes.subspan(std::min(bytes.size(), layout::kVersion))));
}

// The ports the system lists, as a user names them ("/dev/ttyUSB0"; "COM7").
std::vector<QString> SystemPorts() {
    std::vector<QString> ports;
#ifdef _WIN32
    // The Qt built for MinGW-w64 has no Qt SerialPort: the system's own list.
    for (const std::string& name : SerialPortsPresent()) ports.push_back(QString::fromStdString(name));
#else
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) ports.push_back(info.systemLocation());
#endif
    return ports;
}

}  // namespace

std::vector<ModuleBox::PortEntry> ModuleBox::PortEntries(const FilePageTexts& texts) {
    std::vector<PortEntry> entries;
    std::set<QString> named;
    for (int n = 1; n <= kPortCount; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        entries.push_back({name, name});
        named.insert(QString::fromStdString(DevicePathFor(name.toStdString())));
    }
    std::vector<PortEntry> present;
    for (const QString& path : SystemPorts()) {
        // COM1..COM4 are listed already, under the names given above.
        if (path.isEmpty() || !named.insert(QString::fromStdString(DevicePathFor(path.toStdString()))).second) continue;
        present.push_back({path, path});
    }
    std::sort(present.begin(), present.end(), [](const PortEntry& a, const PortEntry& b) { return a.text < b.text; });
    entries.insert(entries.end(), present.begin(), present.end());
#if KORVEX_WITH_FTDI
    // Each FTDI cable once, by its chip and serial, for the bit-bang path;
    // its tty above stays the serial path.
    if (const std::unique_ptr<FtdiCalls> calls = MakeFtdiCalls()) {
        for (const FtdiPortEntry& cable : FtdiPortsPresent(*calls))
            entries.push_back({QString::fromStdString(cable.label), QString::fromStdString(cable.name)});
    }
#endif
    entries.push_back({QtText(texts.demoModule), QString::fromLatin1(kDemoName)});
    return entries;
}

ModuleBox::ModuleBox(AppModel& model, const FilePageTexts& texts, TransferStatus& status, SoundBox& sound,
                     QWidget* page)
    : QObject(page), model_(model), texts_(texts), status_(status), sound_(sound), page_(page) {
    connect(&model_.transfers, &TransferRunner::Started, this, &ModuleBox::UpdateEnables);
    connect(&model_.transfers, &TransferRunner::Finished, this, &ModuleBox::UpdateEnables);
    const std::string remembered = model_.dialogs->Remembered(QString::fromLatin1(kDemoPaceKey)).toStdString();
    model_.link.SetDemoPace(DemoPaceModel(DemoPaceChoice(FindPortModel(remembered))));
}

QHBoxLayout* ModuleBox::MakePortRow() {
    auto* row = new QHBoxLayout;
    portList_ = new QComboBox(page_);
    portList_->setObjectName("portList");
    portList_->setAccessibleName(QtText(texts_.port));
    // A device the list does not show can be typed in.
    portList_->setEditable(true);
    portList_->setInsertPolicy(QComboBox::NoInsert);
    for (const PortEntry& entry : PortEntries(texts_)) portList_->addItem(entry.text, entry.name);
    // COM1 unless another port was opened last time and is still listed,
    // or is a device typed in that is still there.
    const QString last = LastPort();
    portList_->setCurrentIndex(std::max(0, portList_->findData(last)));
    if (portList_->findData(last) < 0 && last.startsWith(QLatin1Char('/')) && QFileInfo::exists(last))
        portList_->setEditText(last);
    portList_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    openPort_ = BoxButton(texts_.openPort, "openPort", page_);
    // Wide enough for either caption, so the row does not jump when it toggles.
    openPort_->setMinimumWidth(std::max(openPort_->fontMetrics().horizontalAdvance(QtText(texts_.openPort)),
                                        openPort_->fontMetrics().horizontalAdvance(QtText(texts_.closePort))) +
                               24);
    row->addWidget(portList_);
    row->addWidget(openPort_);
    row->addStretch(1);
    connect(openPort_, &QPushButton::clicked, this, &ModuleBox::OnOpenPort);
    if (const DemoPaceTexts& pace = DemoPaceTextsFor(model_.profile.kind); pace.onFilePage) {
        auto* label = new QLabel(QtText(pace.title), page_);
        demoPace_ = new QComboBox(page_);
        demoPace_->setObjectName("demoPace");
        for (std::string_view choice : pace.choices) demoPace_->addItem(QtText(choice));
        demoPace_->setCurrentIndex(DemoPaceChoice(model_.link.DemoPace()));
        demoPace_->setToolTip(QtText(pace.prompt));
        label->setBuddy(demoPace_);
        row->addWidget(label);
        row->addWidget(demoPace_);
        connect(demoPace_, &QComboBox::activated, this, &ModuleBox::SetDemoPace);
    }
    return row;
}

QGroupBox* ModuleBox::MakeGroup() {
    auto* module = new QGroupBox(QtText(texts_.module), page_);
    auto* layout = new QGridLayout(module);
    readData_ = BoxButton(texts_.readData, "readData", module);
    writeData_ = BoxButton(texts_.writeData, "writeData", module);
    readSound_ = BoxButton(texts_.readSound, "readSound", module);
    writeSound_ = BoxButton(texts_.writeSound, "writeSound", module);
    layout->addWidget(readData_, 0, 0);
    layout->addWidget(writeData_, 0, 1);
    layout->addWidget(readSound_, 1, 0);
    layout->addWidget(writeSound_, 1, 1);
    compare_ = BoxButton(ModuleToolsTextsFor(model_.profile.kind).compare, "compare", module);
    layout->addWidget(compare_, 2, 0, 1, 2);
    version_ = new QLineEdit(module);
    version_->setObjectName("version");
    version_->setReadOnly(true);
    version_->setFocusPolicy(Qt::ClickFocus);
    if (!texts_.versionLabel.empty()) {
        auto* versionRow = new QHBoxLayout;
        auto* versionLabel = new QLabel(QtText(texts_.versionLabel), module);
        versionLabel->setBuddy(version_);
        version_->setMaximumWidth(version_->fontMetrics().horizontalAdvance(QStringLiteral("88888888")) + 12);
        versionRow->addWidget(versionLabel);
        versionRow->addWidget(version_);
        versionRow->addStretch(1);
        layout->addLayout(versionRow, 3, 0, 1, 2);
    } else {
        version_->hide();
    }
    if (!texts_.fastTransfer.empty()) {
        fast_ = new QCheckBox(QtText(texts_.fastTransfer), module);
        fast_->setObjectName("fastTransfer");
        fast_->setChecked(model_.link.Timing() == BusTiming::Fast);
        layout->addWidget(fast_, 3, 0, 1, 2);
        connect(fast_, &QCheckBox::toggled, this, &ModuleBox::SetFastTransfer);
    }
    layout->setRowStretch(4, 1);

    connect(readData_, &QPushButton::clicked, this, &ModuleBox::OnReadData);
    connect(writeData_, &QPushButton::clicked, this, &ModuleBox::OnWriteData);
    connect(readSound_, &QPushButton::clicked, this, &ModuleBox::OnReadSound);
    connect(writeSound_, &QPushButton::clicked, this, &ModuleBox::OnWriteSound);
    connect(compare_, &QPushButton::clicked, this, &ModuleBox::OnCompare);
    return module;
}

QString ModuleBox::SelectedPortName() const {
    const QString typed = portList_->currentText().trimmed();
    const int listed = portList_->findText(typed);
    return listed >= 0 ? portList_->itemData(listed).toString() : typed;
}

void ModuleBox::UpdateEnables() {
    const bool open = model_.link.IsOpen();
    // Greyed while a transfer runs: one at a time, and the port stays open under it.
    const bool busy = model_.link.Busy();
    for (QPushButton* b : {readData_, writeData_, readSound_, writeSound_, compare_}) b->setEnabled(open && !busy);
    openPort_->setEnabled(!busy);
    portList_->setEnabled(!open);
    if (demoPace_) demoPace_->setEnabled(!open);
    openPort_->setText(QtText(open ? texts_.closePort : texts_.openPort));
}

void ModuleBox::OnOpenPort() {
    ModuleLink& link = model_.link;
    if (link.IsOpen()) {
        ClosePort(model_, page_);
        status_.Clear();
    } else if (const PortOutcome opened = link.Open(SelectedPortName().toStdString()); !opened.Ok()) {
        model_.dialogs->Message(page_, QMessageBox::Warning, QtText(model_.profile.texts.portNotOpened),
                                QtText(opened.error));
    } else {
        RememberPort(SelectedPortName());
    }
    status_.AdviseOnCable(link);
    UpdateEnables();
    emit PortStateChanged(link.IsOpen());
}

void ModuleBox::SetFastTransfer(bool on) {
    model_.link.SetTiming(on ? BusTiming::Fast : BusTiming::Spec);
    if (fast_ && fast_->isChecked() != on) {
        const QSignalBlocker quiet(fast_);
        fast_->setChecked(on);
    }
    status_.AdviseOnCable(model_.link);
}

void ModuleBox::SetDemoPace(int choice) {
    const PortModel* cable = DemoPaceModel(choice);
    model_.link.SetDemoPace(cable);
    if (demoPace_ && demoPace_->currentIndex() != DemoPaceChoice(cable)) {
        const QSignalBlocker quiet(demoPace_);
        demoPace_->setCurrentIndex(DemoPaceChoice(cable));
    }
    model_.dialogs->Remember(QString::fromLatin1(kDemoPaceKey), cable ? QtText(cable->name) : QString());
}

void ModuleBox::Tell(const std::string& text) { TellWarning(model_, page_, text); }

Progress& ModuleBox::StatusProgress() { return status_.Progress(); }

void ModuleBox::BeginStatus(double seconds) {
    status_.Begin(EstimateText(model_.profile, seconds));
    UpdateEnables();
}

void ModuleBox::FinishStatus(TransferKind kind, const TransferRun& run) {
    status_.Finish(kind, run);
    UpdateEnables();
}

namespace {

// What Compare reads: the configuration, and the voice directory when
// sound is loaded to compare with.
struct ComparedModule {
    ModuleConfig config;
    std::optional<VoiceStore> voice;
};

// What Write data works on: copies of the settings and images, and what the
// module is known to hold, handed back whatever the write came to.
struct ConfigWrite {
    ConfigSettings settings;
    std::vector<std::uint8_t> base;
    std::vector<std::uint8_t> writeImage;
    std::vector<std::uint8_t> held;
    Date date;
    bool nothingWritten = false;  // the fast timing found every run held already
};

struct SoundRead {
    VoiceStore store;
    WavBuffer wav;
};

struct SoundWrite {
    VoiceStore store;
    std::vector<SlotMismatch> mismatches;  // kept as found, so a later port failure loses none
    std::optional<VoiceWriteOutcome> outcome;
};

}  // namespace

void ModuleBox::OnReadData() {
    // Asked here, before the transfer starts: the read replaces every setting.
    if (!SettingsMayGo(model_)) return;
    const Profile& profile = model_.profile;
    Run<ModuleConfig>(
        TransferKind::ReadConfig, {},
        [&profile](TwoWireBus& bus, ModuleConfig& read, Progress& progress) {
            return ReadSettingsFromModule(bus, profile, progress, read);
        },
        [this](ModuleConfig& read, TransferRun& run) {
            if (!run.Done()) return;  // the pages keep what they showed
            AppModel& m = model_;
            m.link.HeldImage() = read.image;  // what the module holds, for a fast write after
            m.readImage = std::move(read.image);
            m.settings = std::move(read.settings);
            m.settingsLoaded = true;
            if (!texts_.versionLabel.empty()) {
                versionText_ = VersionOf(m.readImage);
                version_->setText(versionText_);
            }
            sound_.ShowCurrentSlot();
            m.project.Unnamed(m.settings);
            emit ConfigurationLoaded();
        });
}

// Reads the module aside: the settings being edited stay as they are until
// the user takes rows from the dialog.
void ModuleBox::OnCompare() {
    const Profile& profile = model_.profile;
    ComparedModule start;
    // Slots read or loaded here are set beside the module's directory.
    if (model_.soundLoaded) start.voice.emplace(profile);
    // The status line says the module was read, as it does for Read data.
    Run<ComparedModule>(
        TransferKind::ReadConfig, std::move(start),
        [&profile](TwoWireBus& bus, ComparedModule& read, Progress& progress) {
            const LinkOutcome outcome = ReadSettingsFromModule(bus, profile, progress, read.config);
            if (outcome.Ok() && read.voice) ReadDirectory(bus, *read.voice);
            return outcome;
        },
        [this](ComparedModule& read, TransferRun& run) {
            if (!run.Done()) return;
            model_.link.HeldImage() = read.config.image;
            std::unique_ptr<VoiceStore> voice;
            if (read.voice) voice = std::make_unique<VoiceStore>(std::move(*read.voice));
            // After the status line has its report: the dialog is modal.
            QTimer::singleShot(0, this,
                               [this, settings = std::move(read.config.settings),
                                voice = std::shared_ptr<VoiceStore>(std::move(voice))]() mutable {
                                   std::unique_ptr<VoiceStore> moduleVoice;
                                   if (voice) moduleVoice = std::make_unique<VoiceStore>(std::move(*voice));
                                   CompareDialog dialog(model_, std::move(settings), std::move(moduleVoice), page_);
                                   dialog.exec();
                                   if (dialog.Taken()) emit ConfigurationLoaded();
                               });
        });
}

void ModuleBox::OnWriteData() {
    AppModel& m = model_;
    if (!m.link.IsOpen() || m.link.Busy()) return;
    if (!m.SettingsKnown() && !m.dialogs->Confirm(page_, QtText(TransferTextsFor(m.profile).confirmEmptyConfig)))
        return;
    const Profile& profile = m.profile;
    Run<ConfigWrite>(
        TransferKind::WriteConfig, {m.settings, m.readImage, {}, m.link.HeldImage(), Today()},
        [&profile](TwoWireBus& bus, ConfigWrite& write, Progress& progress) {
            const std::vector<std::uint8_t> known = write.held;
            const LinkOutcome outcome = WriteSettingsToModule(bus, profile, write.settings, write.base, write.date,
                                                              write.writeImage, write.held, progress);
            write.nothingWritten = outcome.Ok() && bus.Timing() == BusTiming::Fast && !known.empty() &&
                                   ChangedRuns(profile, write.writeImage, known).empty();
            return outcome;
        },
        [this](ConfigWrite& write, TransferRun& run) {
            AppModel& m = model_;
            // Emptied once the first byte went, and set again only by a write that verified.
            m.link.HeldImage() = std::move(write.held);
            if (!write.writeImage.empty()) m.writeImage = std::move(write.writeImage);
            if (run.Done()) m.project.Written(write.settings);
            run.nothingWritten = run.Done() && write.nothingWritten;
        });
}

void ModuleBox::OnReadSound() {
    // The slots read replace a sound loaded and not yet written.
    if (!SoundMayGo(model_)) return;
    AppModel& m = model_;
    Run<SoundRead>(
        TransferKind::ReadSound, {m.voice, m.wav},
        [](TwoWireBus& bus, SoundRead& read, Progress& progress) {
            return ReadAllSlots(bus, read.store, read.wav, progress);
        },
        [this](SoundRead& read, TransferRun& run) {
            if (!run.Done()) return;  // the sound box keeps what it showed
            AppModel& m = model_;
            m.voice = std::move(read.store);
            // In place: the waveform draws from the buffer it was given.
            std::copy(read.wav.bytes.begin(), read.wav.bytes.end(), m.wav.bytes.begin());
            m.wav.SoundLength = read.wav.SoundLength;
            m.soundLoaded = true;
            m.soundUnwritten = false;
            sound_.ShowCurrentSlot();
            sound_.ShowWaveform();
            sound_.ShowFreeMemory();
        });
}

void ModuleBox::OnWriteSound() {
    AppModel& m = model_;
    if (!m.link.IsOpen() || m.link.Busy()) return;
    if (!m.soundLoaded && !m.dialogs->Confirm(page_, QtText(TransferTextsFor(m.profile).confirmEmptySound))) return;
    Run<SoundWrite>(
        TransferKind::WriteSound, {m.voice, {}, {}},
        [](TwoWireBus& bus, SoundWrite& write, Progress& progress) {
            write.outcome = WriteAllSlots(bus, write.store, progress,
                                          [&write](const SlotMismatch& found) { write.mismatches.push_back(found); });
            return write.outcome->check;
        },
        [this](SoundWrite& write, TransferRun& run) {
            AppModel& m = model_;
            // What the module is known to hold of each slot, as far as the write came.
            m.voice = std::move(write.store);
            for (std::size_t i = 0; i < write.mismatches.size(); ++i) Tell(std::string(m.profile.texts.writeError));
            if (!run.Done() || !write.outcome) return;
            const std::vector<std::string> messages = VoiceWriteMessages(m.profile, *write.outcome);
            if (write.mismatches.empty())
                for (const std::string& line : messages) Tell(line);
            if (!write.mismatches.empty() || !messages.empty()) run.end = TransferRun::End::Failed;
            else m.soundUnwritten = false;  // the module holds every slot as loaded
        });
}

}  // namespace korvex
