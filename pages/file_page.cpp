#include "pages/file_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QVBoxLayout>
#include <filesystem>
#include <optional>
#include <set>
#include <utility>

#include "link/device_link.h"
#include "link/serial_exception.h"
#include "link/serial_port.h"
#include "voice/voice_transfer.h"
#include "voice/voice_rules.h"
#include "voice/wav_buffer.h"
#include "voice/wav_intake.h"
#include "model/clock.h"
#include "model/config_transfer.h"
#include "model/image_codec.h"
#include "model/image_layout.h"
#include "model/project_file.h"
#include "app/bar_progress.h"
#include "app/run_transfer.h"
#include "app/transfer_report.h"
#include "pages/speak_texts.h"
#include "app/qt_paths.h"
#include "link/path_text.h"
#include "widgets/image_button.h"
#include "app/wav_player.h"
#include "pages/compare_dialog.h"
#include "pages/module_tools_texts.h"
#include "pages/report_export.h"
#include "widgets/waveform_view.h"

namespace korvex {

namespace {

constexpr int kPortCount = 4;
constexpr const char* kDemoName = "demo";

QString VersionOf(const std::vector<std::uint8_t>& image) {
    const std::span<const std::uint8_t> bytes(image);
    return QString::fromStdString(ProgramVersion(bytes.subspan(std::min(bytes.size(), layout::kVersion))));
}

// A configuration read on a scratch image, for the estimate.
std::function<void(TwoWireBus&)> ReadConfigDryRun(const Profile& profile) {
    return [&profile](TwoWireBus& bus) {
        ModuleConfig scratch;
        NullProgress quiet;
        static_cast<void>(ReadSettingsFromModule(bus, profile, quiet, scratch));  // only its bus calls count
    };
}

// The rates a slot takes, the program's own first.
QList<int> SlotRates(const Profile& profile) {
    QList<int> rates{DefaultSlotRate(profile)};
    for (std::uint16_t rate : VoiceRulesFor(profile).acceptedRates)
        if (rate != DefaultSlotRate(profile)) rates << rate;
    return rates;
}

QPushButton* Button(std::string_view text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(QtText(text), parent);
    button->setObjectName(name);
    // Room around the caption: the style's own margin is tight for these words.
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 28);
    return button;
}

}  // namespace

std::vector<FilePage::PortEntry> FilePage::PortEntries(const FilePageTexts& texts) {
    std::vector<PortEntry> entries;
    std::set<QString> named;
    for (int n = 1; n <= kPortCount; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        entries.push_back({name, name});
        named.insert(QString::fromStdString(DevicePathFor(name.toStdString())));
    }
    std::vector<PortEntry> present;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const QString path = info.systemLocation();
        if (path.isEmpty() || !named.insert(path).second) continue;
        present.push_back({path, path});
    }
    std::sort(present.begin(), present.end(), [](const PortEntry& a, const PortEntry& b) { return a.text < b.text; });
    entries.insert(entries.end(), present.begin(), present.end());
    entries.push_back({QtText(texts.demoModule), QString::fromLatin1(kDemoName)});
    return entries;
}

FilePage::FilePage(AppModel& model, QWidget* parent)
    : Page(PageId::File, model, parent), texts_(FilePageTextsFor(model.profile)) {
    Build();
    UpdateEnables();
}

FilePage::~FilePage() = default;

void FilePage::Build() {
    auto* top = new QVBoxLayout(this);

    auto* portRow = new QHBoxLayout;
    portList_ = new QComboBox(this);
    portList_->setObjectName("portList");
    for (const PortEntry& entry : PortEntries(texts_)) portList_->addItem(entry.text, entry.name);
    portList_->setCurrentIndex(0);
    portList_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    openPort_ = Button(texts_.openPort, "openPort", this);
    // Wide enough for either caption, so the row does not jump when it toggles.
    openPort_->setMinimumWidth(std::max(openPort_->fontMetrics().horizontalAdvance(QtText(texts_.openPort)),
                                        openPort_->fontMetrics().horizontalAdvance(QtText(texts_.closePort))) +
                               24);
    portRow->addWidget(portList_);
    portRow->addWidget(openPort_);
    portRow->addStretch(1);
    top->addLayout(portRow);

    waveform_ = new WaveformView(this);
    waveform_->setObjectName("waveform");
    waveform_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    waveform_->setMinimumHeight(72);
    waveform_->SetBuffer(Model().wav.bytes);
    waveform_->SetSoundLength(Model().wav.SoundLength);
    top->addWidget(waveform_, 1);

    auto* groups = new QHBoxLayout;

    auto* project = new QGroupBox(QtText(texts_.project), this);
    auto* projectLayout = new QVBoxLayout(project);
    projectOpen_ = Button(texts_.projectOpen, "projectOpen", project);
    projectSave_ = Button(texts_.projectSave, "projectSave", project);
    projectLayout->addWidget(projectOpen_);
    projectLayout->addWidget(projectSave_);
    const ModuleToolsTexts& tools = ModuleToolsTextsFor(Model().profile.kind);
    if (tools.reportOnFilePage) {
        QPushButton* report = Button(tools.report, "report", project);
        projectLayout->addWidget(report);
        connect(report, &QPushButton::clicked, this, [this] { ShowReportChooser(Model(), {}, this); });
    }
    projectLayout->addStretch(1);
    groups->addWidget(project);

    auto* module = new QGroupBox(QtText(texts_.module), this);
    auto* moduleLayout = new QGridLayout(module);
    readData_ = Button(texts_.readData, "readData", module);
    writeData_ = Button(texts_.writeData, "writeData", module);
    readSound_ = Button(texts_.readSound, "readSound", module);
    writeSound_ = Button(texts_.writeSound, "writeSound", module);
    moduleLayout->addWidget(readData_, 0, 0);
    moduleLayout->addWidget(writeData_, 0, 1);
    moduleLayout->addWidget(readSound_, 1, 0);
    moduleLayout->addWidget(writeSound_, 1, 1);
    compare_ = Button(tools.compare, "compare", module);
    moduleLayout->addWidget(compare_, 2, 0, 1, 2);
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
        moduleLayout->addLayout(versionRow, 3, 0, 1, 2);
    } else {
        version_->hide();
    }
    if (!texts_.fastTransfer.empty()) {
        fast_ = new QCheckBox(QtText(texts_.fastTransfer), module);
        fast_->setObjectName("fastTransfer");
        fast_->setChecked(Model().link.Timing() == BusTiming::Fast);
        moduleLayout->addWidget(fast_, 3, 0, 1, 2);
        connect(fast_, &QCheckBox::toggled, this, &FilePage::SetFastTransfer);
    }
    moduleLayout->setRowStretch(4, 1);
    groups->addWidget(module);

    auto* sound = new QGroupBox(QtText(texts_.sound), this);
    sound->setObjectName("soundGroup");
    auto* soundLayout = new QGridLayout(sound);
    slotList_ = new QComboBox(sound);
    slotList_->setObjectName("slotList");
    for (int slot = 1; slot <= Model().profile.slotCount; ++slot)
        slotList_->addItem(QtText(texts_.slotPrefix) + QString::number(slot));
    play_ = new ImageButton(sound);
    play_->setObjectName("play");
    play_->SetImage(ImageButton::PlayBitmap(), 16, 15);
    play_->setToolTip(QtText(texts_.playTip));
    soundOpen_ = Button(texts_.soundOpen, "soundOpen", sound);
    speak_ = Button(SpeakTextsFor(Model().profile).speakText, "speakText", sound);
    memoryText_ = new QLabel(QtText(texts_.memory), sound);
    memoryText_->setObjectName("memoryText");
    memoryText_->setAlignment(Qt::AlignCenter);
    memoryBar_ = new QProgressBar(sound);
    memoryBar_->setObjectName("memoryBar");
    memoryBar_->setTextVisible(false);
    memoryBar_->setRange(0, static_cast<int>(Model().profile.capacity));
    memoryBar_->setValue(0);
    soundLayout->addWidget(slotList_, 0, 0);
    soundLayout->addWidget(play_, 0, 1);
    soundLayout->addWidget(soundOpen_, 1, 0, 1, 2);
    soundLayout->addWidget(speak_, 2, 0, 1, 2);
    soundLayout->addWidget(memoryText_, 3, 0, 1, 2);
    soundLayout->addWidget(memoryBar_, 4, 0, 1, 2);
    soundLayout->setRowStretch(5, 1);
    // Room for the widest free-memory text (all of it free), and a group
    // as wide as that: the page around it does not move as the text changes.
    memoryText_->setMinimumWidth(std::max(memoryText_->fontMetrics().horizontalAdvance(QtText(texts_.memory)),
                                          memoryText_->fontMetrics().horizontalAdvance(QString::fromStdString(
                                              korvex::ShowFreeMemory(VoiceStore(Model().profile)).text))));
    sound->setFixedWidth(sound->sizeHint().width());
    groups->addWidget(sound);

    top->addLayout(groups);

    status_ = new QLabel(this);
    status_->setObjectName("status");
    status_->setAlignment(Qt::AlignCenter);
    status_->setWordWrap(true);  // the cable advice is longer than a report
    transferBar_ = new QProgressBar(this);
    transferBar_->setObjectName("transferBar");
    transferBar_->setTextVisible(false);
    // The two keep their room while hidden, so nothing moves when a transfer starts.
    for (QWidget* w : {static_cast<QWidget*>(status_), static_cast<QWidget*>(transferBar_)}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
        w->hide();
    }
    top->addWidget(status_);
    top->addWidget(transferBar_);

    progress_ = std::make_unique<BarProgress>(transferBar_, status_);
    player_ = new WavPlayer(this);

    connect(openPort_, &QPushButton::clicked, this, &FilePage::OnOpenPort);
    connect(readData_, &QPushButton::clicked, this, &FilePage::OnReadData);
    connect(writeData_, &QPushButton::clicked, this, &FilePage::OnWriteData);
    connect(projectOpen_, &QPushButton::clicked, this, &FilePage::OpenProject);
    connect(projectSave_, &QPushButton::clicked, this, &FilePage::SaveProject);
    connect(soundOpen_, &QPushButton::clicked, this, &FilePage::LoadWavFile);
    connect(readSound_, &QPushButton::clicked, this, &FilePage::OnReadSound);
    connect(writeSound_, &QPushButton::clicked, this, &FilePage::OnWriteSound);
    connect(compare_, &QPushButton::clicked, this, &FilePage::OnCompare);
    connect(slotList_, &QComboBox::activated, this, &FilePage::OnSoundSlotChange);
    connect(play_, &QPushButton::clicked, this, &FilePage::PlayPreview);
    connect(speak_, &QPushButton::clicked, this, &FilePage::SpeakText);
}

QString FilePage::SelectedPortName() const { return portList_->currentData().toString(); }

void FilePage::UpdateEnables() {
    const bool open = Model().link.IsOpen();
    // Greyed while a transfer runs: the window takes no clicks then.
    const bool usable = open && !Model().link.Busy();
    for (QPushButton* b : {readData_, writeData_, readSound_, writeSound_, compare_}) b->setEnabled(usable);
    portList_->setEnabled(!open);
    openPort_->setText(QtText(open ? texts_.closePort : texts_.openPort));
}

void FilePage::OnOpenPort() {
    ModuleLink& link = Model().link;
    if (link.IsOpen()) {
        ClosePort(Model(), this);
    } else if (const PortOutcome opened = link.Open(SelectedPortName().toStdString()); !opened.Ok()) {
        Model().dialogs->Message(this, QMessageBox::Warning, QtText(Model().profile.texts.portNotOpened),
                                 QtText(opened.error));
    }
    AdviseOnCable();
    UpdateEnables();
    emit PortStateChanged(link.IsOpen());
}

void FilePage::SetFastTransfer(bool on) {
    Model().link.SetTiming(on ? BusTiming::Fast : BusTiming::Spec);
    if (fast_ && fast_->isChecked() != on) {
        const QSignalBlocker quiet(fast_);
        fast_->setChecked(on);
    }
    AdviseOnCable();
}

void FilePage::AdviseOnCable() {
    const QString advice = QtText(texts_.cachedStatus);
    const ModuleLink& link = Model().link;
    if (link.IsOpen() && link.SpecMayMisread()) {
        status_->setText(advice);
        status_->show();
    } else if (status_->text() == advice) {
        status_->hide();
    }
}

void FilePage::Tell(const std::string& text) {
    Model().dialogs->Message(this, QMessageBox::Warning, QString::fromStdString(text));
}

void FilePage::TellFileError(std::string_view what, const std::string& path, const std::string& reason) {
    QString text = QtText(what) + QStringLiteral(": \"") + QString::fromStdString(path) + QStringLiteral("\"");
    if (!reason.empty()) text += QStringLiteral(" (") + QString::fromStdString(reason) + QStringLiteral(")");
    Model().dialogs->Message(this, QMessageBox::Critical, text);
}

bool FilePage::TransferRunning() { return Model().link.Busy(); }

void FilePage::RunTransfer(TransferKind kind, const std::function<bool(TwoWireBus&)>& work,
                           const std::function<void(TwoWireBus&)>& dryRun) {
    AppModel& m = Model();
    if (!m.link.IsOpen() || m.link.Busy()) return;
    for (QPushButton* b : {readData_, writeData_, readSound_, writeSound_, compare_}) b->setEnabled(false);
    const std::string estimate = EstimateText(m.profile, m.link.EstimateSeconds(dryRun));
    progress_->SetNote(estimate);
    status_->setText(QtText(estimate));
    status_->show();
    const bool writes = kind == TransferKind::WriteConfig || kind == TransferKind::WriteSound;
    const TransferRun run = korvex::RunTransfer(m, this, work, writes ? TransferAccess::Writes : TransferAccess::Reads);
    progress_->SetNote({});
    UpdateEnables();
    if (run.end == TransferRun::End::NotRun) return;
    // A transfer that stopped keeps its bar up, so the user sees how far it came.
    if (run.Done()) transferBar_->hide();
    status_->setText(QString::fromStdString(TransferReport(Model().profile, {kind, run.Done(), run.elapsed})));
    status_->show();
}

bool FilePage::ReadModuleInto(TwoWireBus& bus, ModuleConfig& out) {
    AppModel& m = Model();
    const LinkOutcome outcome = ReadSettingsFromModule(bus, m.profile, *progress_, out);
    if (!outcome.Ok()) {
        Tell(std::string(OutcomeText(m.profile, outcome)));
        return false;
    }
    m.link.HeldImage() = out.image;  // what the module holds, for a fast write after
    return true;
}

void FilePage::OnReadData() {
    RunTransfer(
        TransferKind::ReadConfig,
        [this](TwoWireBus& bus) {
            AppModel& m = Model();
            ModuleConfig module;
            if (!ReadModuleInto(bus, module)) return false;
            m.readImage = std::move(module.image);
            m.settings = std::move(module.settings);
            m.settingsLoaded = true;
            if (!texts_.versionLabel.empty()) {
                versionText_ = VersionOf(m.readImage);
                version_->setText(versionText_);
            }
            slotList_->setCurrentIndex(m.voice.currentSlot);
            m.project.Unnamed(m.settings);
            emit ConfigurationLoaded();
            return true;
        },
        ReadConfigDryRun(Model().profile));
}

// Reads the module aside: the settings being edited stay as they are until
// the user takes rows from the dialog.
void FilePage::OnCompare() {
    std::optional<ModuleConfig> module;
    std::unique_ptr<VoiceStore> moduleVoice;
    // The status line says the module was read, as it does for Read data.
    RunTransfer(
        TransferKind::ReadConfig,
        [&](TwoWireBus& bus) {
            AppModel& m = Model();
            ModuleConfig read;
            if (!ReadModuleInto(bus, read)) return false;
            module = std::move(read);
            // Slots read or loaded here are set beside the module's directory.
            if (m.soundLoaded) {
                moduleVoice = std::make_unique<VoiceStore>(m.profile);
                ReadDirectory(bus, *moduleVoice);
            }
            return true;
        },
        ReadConfigDryRun(Model().profile));
    if (!module) return;
    CompareDialog dialog(Model(), std::move(module->settings), std::move(moduleVoice), this);
    dialog.exec();
    if (dialog.Taken()) emit ConfigurationLoaded();
}

void FilePage::OnWriteData() {
    AppModel& m = Model();
    if (!m.link.IsOpen() || m.link.Busy()) return;
    if (!m.SettingsKnown() && !m.dialogs->Confirm(this, QtText(TransferTextsFor(m.profile).confirmEmptyConfig))) return;
    // The same write on copies, for the estimate.
    const auto dryRun = [&m](TwoWireBus& bus) {
        ConfigSettings settings = m.settings;
        std::vector<std::uint8_t> image, held = m.link.HeldImage();
        NullProgress quiet;
        static_cast<void>(WriteSettingsToModule(bus, m.profile, settings, m.readImage, Today(), image, held, quiet));
    };
    RunTransfer(
        TransferKind::WriteConfig,
        [this](TwoWireBus& bus) {
            AppModel& m = Model();
            const LinkOutcome outcome = WriteSettingsToModule(bus, m.profile, m.settings, m.readImage, Today(),
                                                              m.writeImage, m.link.HeldImage(), *progress_);
            if (!outcome.Ok()) {
                Tell(std::string(OutcomeText(m.profile, outcome)));
                return false;
            }
            m.project.Written(m.settings);
            return true;
        },
        dryRun);
}

void FilePage::OpenProject() {
    const QString path = Model().dialogs->OpenFileName(this, QtText(texts_.openProjectTitle),
                                                       QtText(texts_.projectFilter), QStringLiteral("rom"));
    if (path.isEmpty()) return;
    AppModel& m = Model();
    const FileOutcome outcome = LoadProject(FsPath(path), m.profile, m.readImage, m.settings);
    if (!outcome.Ok()) {
        TellFileError(outcome.failed == FileStep::Read ? texts_.cannotReadFile : texts_.cannotOpenFile,
                      path.toStdString(), outcome.reason);
        return;
    }
    m.settingsLoaded = true;
    // Loaded as far as it goes, but the user learns that it was not a project of this program.
    const qint64 size = QFileInfo(path).size();
    const auto project = static_cast<qint64>(m.profile.imageSize);
    if (size == project) {
        m.project.Named(path, m.settings);
    } else {
        m.project.Unnamed(m.settings);
    }
    emit ConfigurationLoaded();
    if (size != project) {
        const qint64 loaded = std::min(size, project);
        Tell(std::string(size < project ? texts_.shortProject : texts_.longProject) + std::string(texts_.loadedBytes) +
             std::to_string(loaded) + std::string(texts_.ofBytes) + std::to_string(std::max(size, project)));
    }
}

bool FilePage::SaveProject() {
    const QString path = Model().dialogs->SaveFileName(this, QtText(texts_.saveProjectTitle),
                                                       QtText(texts_.projectFilter), QStringLiteral("rom"));
    return !path.isEmpty() && SaveProjectTo(path);
}

bool FilePage::SaveEdits() {
    const QString file = Model().project.File();
    return file.isEmpty() ? SaveProject() : SaveProjectTo(file);
}

bool FilePage::SaveProjectTo(const QString& path) {
    AppModel& m = Model();
    const FileOutcome outcome =
        korvex::SaveProject(FsPath(path), m.profile, m.settings, m.readImage, m.writeImage, Today());
    if (!outcome.Ok()) {
        TellFileError(outcome.failed == FileStep::Write ? texts_.cannotWriteFile : texts_.cannotCreateFile,
                      path.toStdString(), outcome.reason);
        return false;
    }
    m.project.Named(path, m.settings);
    return true;
}

void FilePage::LoadWavFile() {
    const QString path = Model().dialogs->OpenFileName(this, QtText(texts_.loadSoundTitle), QtText(texts_.soundFilter),
                                                       QStringLiteral("wav"));
    if (path.isEmpty()) return;
    // A file that must be converted anyway may go to any rate the slots take.
    int rate = 0;
    const QList<int> rates = SlotRates(Model().profile);
    if (rates.size() > 1 && SoundFileNeedsConversion(Model().profile, FsPath(path))) {
        const SpeakTexts& t = SpeakTextsFor(Model().profile);
        const std::optional<int> chosen =
            Model().dialogs->AskRate(this, QtText(t.convertTitle), QtText(t.convertRate), rates);
        if (!chosen) return;
        rate = *chosen;
    }
    LoadSoundWith([&](SoundOptions options) {
        options.rate = static_cast<std::uint16_t>(rate);
        SoundOutcome outcome = LoadSoundFile(FsPath(path), Model().voice, Model().wav, options);
        // The file as the user chose it, not as the system spells it.
        if (outcome.wav.file.empty() || outcome.wav.file == PathToUtf8(FsPath(path)))
            outcome.wav.file = path.toStdString();
        outcome.file = path.toStdString();
        return outcome;
    });
}

void FilePage::SpeakText() {
    const Profile& profile = Model().profile;
    const SpeakTexts& t = SpeakTextsFor(profile);
    Dialogs::SpeechLabels labels{QtText(t.title),
                                 QtText(t.text),
                                 QtText(t.language),
                                 {QtText(t.firstName), QtText(t.secondName)},
                                 {QtText(t.firstCode), QtText(t.secondCode)},
                                 QtText(t.rate),
                                 SlotRates(profile)};
    const auto request = Model().dialogs->AskSpeech(this, labels);
    if (!request) return;
    LoadSoundWith([&](SoundOptions options) {
        options.rate = static_cast<std::uint16_t>(request->rate);
        return LoadSpeech(request->text.toStdString(), request->language.toStdString(), Model().voice, Model().wav,
                          options);
    });
}

void FilePage::LoadSoundWith(const std::function<SoundOutcome(const SoundOptions&)>& load) {
    AppModel& m = Model();
    // Sound converted here is encoded with the least noise the module's
    // decoder allows; a file already in its format keeps the module's own rule.
    SoundOptions options{.encoder = DeltaEncoder::Trellis, .fittingEncoder = DeltaEncoder::Plain};
    SoundOutcome outcome = load(options);
    if (outcome.result == SoundResult::TooLong &&
        m.dialogs->Ask(this, QString::fromStdString(CutQuestion(m.profile, outcome)))) {
        options.cut = true;
        outcome = load(options);
    }
    ShowWaveform();
    if (outcome.result == SoundResult::TooLong) return;  // the user said no
    if (!outcome.Ok()) {
        Tell(SoundOutcomeText(m.profile, outcome));
        return;
    }
    m.soundLoaded = true;
    ShowFreeMemory();
}

void FilePage::OnReadSound() {
    const Profile& profile = Model().profile;
    const auto dryRun = [&profile](TwoWireBus& bus) {
        // Large: kept off the stack.
        auto store = std::make_unique<VoiceStore>(profile);
        auto wav = std::make_unique<WavBuffer>(profile);
        NullProgress quiet;
        static_cast<void>(ReadAllSlots(bus, *store, *wav, quiet));  // only its bus calls count
    };
    RunTransfer(
        TransferKind::ReadSound,
        [this](TwoWireBus& bus) {
            AppModel& m = Model();
            const LinkOutcome outcome = ReadAllSlots(bus, m.voice, m.wav, *progress_);
            if (!outcome.Ok()) {
                Tell(std::string(OutcomeText(m.profile, outcome)));
                return false;
            }
            m.soundLoaded = true;
            // The list shows the slot that is now current, so the next WAV
            // load goes where the user sees it going.
            slotList_->setCurrentIndex(m.voice.currentSlot);
            ShowWaveform();
            ShowFreeMemory();
            return true;
        },
        dryRun);
}

void FilePage::OnWriteSound() {
    AppModel& m = Model();
    if (!m.link.IsOpen() || m.link.Busy()) return;
    if (!m.soundLoaded && !m.dialogs->Confirm(this, QtText(TransferTextsFor(m.profile).confirmEmptySound))) return;
    const auto dryRun = [&m](TwoWireBus& bus) {
        auto store = std::make_unique<VoiceStore>(m.voice);
        NullProgress quiet;
        static_cast<void>(WriteAllSlots(bus, *store, quiet));  // only its bus calls count
    };
    RunTransfer(
        TransferKind::WriteSound,
        [this](TwoWireBus& bus) {
            AppModel& m = Model();
            // A write error is told at once, before the next slot is written, so
            // one found before a port failure is not lost with the outcome.
            const VoiceWriteOutcome outcome = WriteAllSlots(
                bus, m.voice, *progress_, [&](const SlotMismatch&) { Tell(std::string(m.profile.texts.writeError)); });
            const std::vector<std::string> messages = VoiceWriteMessages(m.profile, outcome);
            if (outcome.mismatches.empty())
                for (const std::string& line : messages) Tell(line);
            return outcome.mismatches.empty() && messages.empty();
        },
        dryRun);
}

void FilePage::OnSoundSlotChange(int index) {
    AppModel& m = Model();
    if (index < 0 || index >= m.profile.slotCount) return;
    m.voice.currentSlot = index;
    DecodeSlotToWav(m.voice, m.wav);
    ShowWaveform();
}

void FilePage::PlayPreview() {
    // The slot as the module will play it: decoded from its 1-bit data, not
    // the file just loaded. An emptied buffer (a refused file) plays nothing.
    AppModel& m = Model();
    WavBuffer preview(m.profile);
    if (m.wav.SoundLength != 0) DecodeSlotToWav(m.voice, preview);
    if (m.profile.playWaitsForEnd) player_->PlayToEnd(preview.bytes, preview.SoundLength);
    else player_->Play(preview.bytes, preview.SoundLength);
}

void FilePage::ShowWaveform() {
    waveform_->SetSoundLength(Model().wav.SoundLength);
    waveform_->update();
}

void FilePage::ShowFreeMemory() {
    const FreeMemory free = korvex::ShowFreeMemory(Model().voice);
    memoryBar_->setRange(0, static_cast<int>(free.capacity));
    memoryBar_->setValue(static_cast<int>(free.barPos));
    memoryText_->setText(QString::fromStdString(free.text));
    memoryText_->repaint();
}

}  // namespace korvex
