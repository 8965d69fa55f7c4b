#pragma once
#include <QByteArray>
#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>

namespace korvex {

// One sound going out through the system's output: Qt Multimedia's audio
// sink, or on Windows winmm's wave output (app/wav_output_winmm.cpp).
// Destroying it stops the sound.
class WavOutput {
public:
    virtual ~WavOutput() = default;
    // True until the sound has played to its end or the output gave up.
    virtual bool Playing() const = 0;
};

// Starts `samples` (8-bit unsigned, mono, `rate` Hz) on the default output
// and calls `finished` on `owner`'s thread once it has played to its end or
// the output gave up. `samples` must stay unchanged while the output lives.
// Null, and nothing plays, when there is no output or none takes the format.
std::unique_ptr<WavOutput> StartWavOutput(const QByteArray& samples, std::uint32_t rate, QObject* owner,
                                          std::function<void()> finished);

}  // namespace korvex
