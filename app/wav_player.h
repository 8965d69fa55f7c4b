#pragma once
#include <QByteArray>
#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>

#include "app/wav_output.h"

namespace korvex {


// What a WAV image in memory holds, when it is one the player can play:
// RIFF/WAVE, PCM, mono, 8 bits, a rate, and at least one sample.
struct WavImageInfo {
    std::uint32_t rate = 0;
    std::span<const std::uint8_t> samples;
};
// Walks the chunks of the image; a `soundLength` of 0 (a refused file)
// holds nothing to play.
std::optional<WavImageInfo> InspectWavImage(std::span<const std::uint8_t> image, std::uint32_t soundLength);

// Plays a WAV image from memory in the background: Play returns at once and
// a new Play restarts. PlayToEnd returns when the sound has finished; while
// it plays, the window keeps painting but takes no input. When there is
// nothing playable, or no sound output that takes the format, nothing plays;
// NoOutput tells the caller which, so it can say why.
class WavPlayer : public QObject {
    Q_OBJECT
public:
    explicit WavPlayer(QObject* parent = nullptr);
    ~WavPlayer() override;

    // True when playback started.
    bool Play(std::span<const std::uint8_t> image, std::uint32_t soundLength);
    bool PlayToEnd(std::span<const std::uint8_t> image, std::uint32_t soundLength);
    void Stop();
    // The samples the last Play was given, whether or not an output took them.
    const QByteArray& Samples() const { return samples_; }
    // The last Play had a sound but found no output that takes its format.
    bool NoOutput() const { return noOutput_; }
    // How a sound goes out: the system's output (StartWavOutput) unless replaced.
    using OutputStarter = std::function<std::unique_ptr<WavOutput>(const QByteArray& samples, std::uint32_t rate,
                                                                   QObject* owner, std::function<void()> finished)>;
    void SetOutputStarter(OutputStarter starter) { startOutput_ = std::move(starter); }

signals:
    // The sound has played to its end, or the output gave up.
    void Finished();

private:
    QByteArray samples_;
    std::uint32_t rate_ = 0;
    bool noOutput_ = false;
    OutputStarter startOutput_ = StartWavOutput;
    std::unique_ptr<WavOutput> output_;  // after the samples it plays
};

}  // namespace korvex
