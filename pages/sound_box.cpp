#include "pages/sound_box.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <optional>

#include "link/path_text.h"
#include "voice/voice_rules.h"
#include "voice/wav_buffer.h"
#include "app/app_model.h"
#include "app/qt_paths.h"
#include "app/wav_player.h"
#include "widgets/image_button.h"
#include "widgets/waveform_view.h"
#include "pages/box_helpers.h"
#include "pages/speak_texts.h"
#include "pages/transfer_status.h"

namespace korvex {

namespace {

// The rates a slot takes, the program's own first.
QList<int> SlotRates(const Profile& profile) {
    QList<int> rates{DefaultSlotRate(profile)};
    for (std::uint16_t rate : VoiceRulesFor(profile).acceptedRates)
        if (rate != DefaultSlotRate(profile)) rates << rate;
    return rates;
}

}  // namespace

SoundBox::SoundBox(AppModel& model, const FilePageTexts& texts, TransferStatus& status, QWidget* page)
    : QObject(page), model_(model), texts_(texts), status_(status), page_(page) {
    player_ = new WavPlayer(this);
}

WaveformView* SoundBox::MakeWaveform() {
    waveform_ = new WaveformView(page_);
    waveform_->setObjectName("waveform");
    waveform_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    waveform_->setMinimumHeight(72);
    waveform_->SetBuffer(model_.wav.bytes);
    waveform_->SetSoundLength(model_.wav.SoundLength);
    return waveform_;
}

QGroupBox* SoundBox::MakeGroup() {
    auto* sound = new QGroupBox(QtText(texts_.sound), page_);
    sound->setObjectName("soundGroup");
    auto* layout = new QGridLayout(sound);
    slotList_ = new QComboBox(sound);
    slotList_->setObjectName("slotList");
    slotList_->setAccessibleName(QtText(texts_.sound));
    for (int slot = 1; slot <= model_.profile.slotCount; ++slot)
        slotList_->addItem(QtText(texts_.slotPrefix) + QString::number(slot));
    play_ = new ImageButton(sound);
    play_->setObjectName("play");
    play_->SetImage(ImageButton::PlayBitmap(), 16, 15);
    play_->setToolTip(QtText(texts_.playTip));
    // It shows a picture only: a screen reader says what it does.
    play_->setAccessibleName(QtText(texts_.playTip));
    soundOpen_ = BoxButton(texts_.soundOpen, "soundOpen", sound);
    speak_ = BoxButton(SpeakTextsFor(model_.profile).speakText, "speakText", sound);
    memoryText_ = new QLabel(QtText(texts_.memory), sound);
    memoryText_->setObjectName("memoryText");
    memoryText_->setAlignment(Qt::AlignCenter);
    memoryBar_ = new QProgressBar(sound);
    memoryBar_->setObjectName("memoryBar");
    memoryBar_->setAccessibleName(QtText(texts_.memory));
    memoryBar_->setTextVisible(false);
    memoryBar_->setRange(0, static_cast<int>(model_.profile.capacity));
    memoryBar_->setValue(0);
    layout->addWidget(slotList_, 0, 0);
    layout->addWidget(play_, 0, 1);
    layout->addWidget(soundOpen_, 1, 0, 1, 2);
    layout->addWidget(speak_, 2, 0, 1, 2);
    layout->addWidget(memoryText_, 3, 0, 1, 2);
    layout->addWidget(memoryBar_, 4, 0, 1, 2);
    layout->setRowStretch(5, 1);
    // Room for the widest free-memory text (all of it free), and a group
    // as wide as that: the page around it does not move as the text changes.
    memoryText_->setMinimumWidth(std::max(memoryText_->fontMetrics().horizontalAdvance(QtText(texts_.memory)),
                                          memoryText_->fontMetrics().horizontalAdvance(QString::fromStdString(
                                              korvex::ShowFreeMemory(VoiceStore(model_.profile)).text))));
    sound->setFixedWidth(sound->sizeHint().width());

    connect(soundOpen_, &QPushButton::clicked, this, &SoundBox::LoadWavFile);
    connect(slotList_, &QComboBox::activated, this, &SoundBox::OnSoundSlotChange);
    connect(play_, &QPushButton::clicked, this, &SoundBox::PlayPreview);
    connect(speak_, &QPushButton::clicked, this, &SoundBox::SpeakText);
    return sound;
}

void SoundBox::LoadWavFile() {
    const QString path = model_.dialogs->OpenFileName(page_, QtText(texts_.loadSoundTitle), QtText(texts_.soundFilter),
                                                      QStringLiteral("wav"));
    if (path.isEmpty()) return;
    // A file that holds no sound is refused by its name before the rate is asked.
    if (SoundOutcome notSound = CheckIsSound(FsPath(path)); !notSound.Ok()) {
        notSound.file = path.toStdString();
        TellWarning(model_, page_, SoundOutcomeText(model_.profile, notSound));
        return;
    }
    // A file that must be converted anyway may go to any rate the slots take.
    int rate = 0;
    const QList<int> rates = SlotRates(model_.profile);
    if (rates.size() > 1 && SoundFileNeedsConversion(model_.profile, FsPath(path))) {
        const SpeakTexts& t = SpeakTextsFor(model_.profile);
        const std::optional<int> chosen =
            model_.dialogs->AskRate(page_, QtText(t.convertTitle), QtText(t.convertRate), rates);
        if (!chosen) return;
        rate = *chosen;
    }
    LoadSoundWith([&](SoundOptions options) {
        options.rate = static_cast<std::uint16_t>(rate);
        SoundOutcome outcome = LoadSoundFile(FsPath(path), model_.voice, model_.wav, options);
        // The file as the user chose it, not as the system spells it.
        if (outcome.wav.file.empty() || outcome.wav.file == PathToUtf8(FsPath(path)))
            outcome.wav.file = path.toStdString();
        outcome.file = path.toStdString();
        if (outcome.Ok()) model_.dialogs->FileUsed(path);
        return outcome;
    });
}

void SoundBox::SpeakText() {
    const Profile& profile = model_.profile;
    const SpeakTexts& t = SpeakTextsFor(profile);
    Dialogs::SpeechLabels labels{QtText(t.title),
                                 QtText(t.text),
                                 QtText(t.language),
                                 {QtText(t.firstName), QtText(t.secondName)},
                                 {QtText(t.firstCode), QtText(t.secondCode)},
                                 QtText(t.rate),
                                 SlotRates(profile)};
    const auto request = model_.dialogs->AskSpeech(page_, labels);
    if (!request) return;
    LoadSoundWith([&](SoundOptions options) {
        options.rate = static_cast<std::uint16_t>(request->rate);
        return LoadSpeech(request->text.toStdString(), request->language.toStdString(), model_.voice, model_.wav,
                          options);
    });
}

void SoundBox::LoadSoundWith(const std::function<SoundOutcome(const SoundOptions&)>& load) {
    AppModel& m = model_;
    // Sound converted here is encoded with the least noise the module's
    // decoder allows; a file already in its format keeps the module's own rule.
    SoundOptions options{.encoder = DeltaEncoder::Trellis, .fittingEncoder = DeltaEncoder::Plain};
    SoundOutcome outcome = load(options);
    if (outcome.result == SoundResult::TooLong &&
        m.dialogs->Ask(page_, QString::fromStdString(CutQuestion(m.profile, outcome)))) {
        options.cut = true;
        outcome = load(options);
    }
    ShowWaveform();
    if (outcome.result == SoundResult::TooLong) return;  // the user said no
    if (!outcome.Ok()) {
        TellWarning(m, page_, SoundOutcomeText(m.profile, outcome));
        return;
    }
    m.soundLoaded = true;
    m.soundUnwritten = true;
    // What the module will play: the slot decoded from its 1-bit data, not the file.
    DecodeSlotToWav(m.voice, m.wav);
    ShowWaveform();
    ShowFreeMemory();
}

void SoundBox::OnSoundSlotChange(int index) {
    AppModel& m = model_;
    if (index < 0 || index >= m.profile.slotCount) return;
    m.voice.currentSlot = index;
    DecodeSlotToWav(m.voice, m.wav);
    ShowWaveform();
}

void SoundBox::PlayPreview() {
    // The slot as the module will play it: decoded from its 1-bit data, not
    // the file just loaded. An emptied buffer (a refused file) plays nothing.
    AppModel& m = model_;
    WavBuffer preview(m.profile);
    if (m.wav.SoundLength != 0) DecodeSlotToWav(m.voice, preview);
    if (m.profile.playWaitsForEnd) player_->PlayToEnd(preview.bytes, preview.SoundLength);
    else player_->Play(preview.bytes, preview.SoundLength);
    // The button keeps its reason until a sound plays, so a look at it
    // tells why nothing is heard; an output plugged in later is found again.
    const QString tip = QtText(player_->NoOutput() ? texts_.noSoundOutput : texts_.playTip);
    play_->setToolTip(tip);
    play_->setAccessibleDescription(player_->NoOutput() ? tip : QString());
    if (player_->NoOutput()) status_.Say(tip);
}

void SoundBox::ShowCurrentSlot() { slotList_->setCurrentIndex(model_.voice.currentSlot); }

void SoundBox::ShowWaveform() {
    // Whatever replaced the buffer, the view draws the model's own.
    waveform_->SetBuffer(model_.wav.bytes);
    waveform_->SetSoundLength(model_.wav.SoundLength);
    waveform_->update();
}

void SoundBox::ShowFreeMemory() {
    const FreeMemory free = korvex::ShowFreeMemory(model_.voice);
    memoryBar_->setRange(0, static_cast<int>(free.capacity));
    memoryBar_->setValue(static_cast<int>(free.barPos));
    memoryText_->setText(QString::fromStdString(free.text));
    memoryText_->repaint();
}

}  // namespace korvex
