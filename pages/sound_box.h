#pragma once
#include <QObject>
#include <functional>

#include "audio/sound_intake.h"
#include "pages/file_page_texts.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace korvex {

struct AppModel;
class ImageButton;
class TransferStatus;
class WaveformView;
class WavPlayer;

// The File page's sound box: the voice slot list, play, a sound file or
// spoken text into the current slot, the free voice memory, and the
// waveform of the slot shown. The voice transfers (the module box) show
// what they read through it.
class SoundBox : public QObject {
    Q_OBJECT
public:
    // Play tells on `status`'s line when it finds no sound output.
    SoundBox(AppModel& model, const FilePageTexts& texts, TransferStatus& status, QWidget* page);

    // Its two parts for the page's layout, made when the page places them,
    // so that the Tab order follows the page.
    WaveformView* MakeWaveform();
    QGroupBox* MakeGroup();

    // The list shows the slot that is now current, so the next sound
    // loaded goes where the user sees it going.
    void ShowCurrentSlot();
    void ShowWaveform();
    void ShowFreeMemory();

private:
    void LoadWavFile();
    void SpeakText();
    // Loads sound through `load`; a sound too long is offered for cutting.
    void LoadSoundWith(const std::function<SoundOutcome(const SoundOptions&)>& load);
    void OnSoundSlotChange(int index);
    void PlayPreview();

    AppModel& model_;
    const FilePageTexts& texts_;
    TransferStatus& status_;
    QWidget* page_;
    WaveformView* waveform_ = nullptr;
    QComboBox* slotList_ = nullptr;
    ImageButton* play_ = nullptr;
    QPushButton* soundOpen_ = nullptr;
    QPushButton* speak_ = nullptr;
    QLabel* memoryText_ = nullptr;
    QProgressBar* memoryBar_ = nullptr;
    WavPlayer* player_ = nullptr;
};

}  // namespace korvex
