// Windows: winmm's wave output, which every Windows (and Wine) has; Qt
// Multimedia's Windows plugin does not build with MinGW-w64.
#include <windows.h>
#include <mmsystem.h>

#include <QTimer>

#include "app/wav_output.h"

namespace korvex {
namespace {

// How often the output is asked whether the sound has ended: the wave
// output's own callbacks come on a thread of its own.
constexpr int kPollMs = 20;

class WaveOutput : public WavOutput {
public:
    WaveOutput(HWAVEOUT out, const QByteArray& samples, std::function<void()> finished) : out_(out) {
        header_.lpData = const_cast<char*>(samples.constData());
        header_.dwBufferLength = static_cast<DWORD>(samples.size());
        playing_ = waveOutPrepareHeader(out_, &header_, sizeof header_) == MMSYSERR_NOERROR &&
                   waveOutWrite(out_, &header_, sizeof header_) == MMSYSERR_NOERROR;
        QObject::connect(&poll_, &QTimer::timeout, &poll_, [this, finished] {
            if (playing_ && !(header_.dwFlags & WHDR_DONE)) return;
            playing_ = false;
            poll_.stop();
            finished();
        });
        poll_.start(kPollMs);
    }
    ~WaveOutput() override {
        poll_.stop();
        waveOutReset(out_);
        waveOutUnprepareHeader(out_, &header_, sizeof header_);
        waveOutClose(out_);
    }
    bool Playing() const override { return playing_; }

private:
    HWAVEOUT out_;
    WAVEHDR header_{};
    bool playing_ = false;
    QTimer poll_;
};

}  // namespace

std::unique_ptr<WavOutput> StartWavOutput(const QByteArray& samples, std::uint32_t rate, QObject* owner,
                                          std::function<void()> finished) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = rate;
    format.wBitsPerSample = 8;
    format.nBlockAlign = 1;
    format.nAvgBytesPerSec = rate;
    HWAVEOUT out = nullptr;
    if (waveOutOpen(&out, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) return nullptr;
    // The timer lives on the calling thread, the owner's.
    static_cast<void>(owner);
    return std::make_unique<WaveOutput>(out, samples, std::move(finished));
}

}  // namespace korvex
