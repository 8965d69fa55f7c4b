// The delta encoders on phrases spoken by espeak-ng: segmental SNR of
// decode(encode(x)) against x (counter snr_db), and the time to encode. x is
// the phrase as a slot gets it: resampled, levelled, 8-bit.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "audio/sound_intake.h"
#include "audio/speech.h"
#include "link/profile.h"
#include "voice/delta_codec.h"
#include "voice/delta_encoder.h"
#include "voice/segmental_snr.h"
#include "voice/wav_buffer.h"

namespace {

struct Phrase {
    const char* name;
    const char* language;
    const char* text;
    std::uint16_t rate;
    int step;  // the module's: 5 full, 7 compact
};

const Phrase kPhrases[] = {
    {"ru_16000_full", "ru", "Внимание! Тревога в зоне три. Сработал датчик движения на складе номер семь.", 16000, 5},
    {"en_16000_full", "en", "Attention. Alarm in zone three. The motion sensor in warehouse seven was triggered.",
     16000, 5},
    {"ru_22050_full", "ru", "Пожар на объекте. Немедленно позвоните дежурному по телефону.", 22050, 5},
    {"en_22050_compact", "en", "Fire at the site. Call the duty officer at once.", 22050, 7},
};

// Spoken once per phrase, so both encoders get the very same samples
// (espeak-ng's output varies a little from call to call).
std::vector<std::uint8_t> SpeakOnce(const Phrase& phrase) {
    const korvex::SpeechResult spoken = korvex::Speak(phrase.text, phrase.language);
    if (!spoken.ok) return {};
    const korvex::SlotWavOutcome ready = korvex::SlotReadyWav(spoken.sound, phrase.rate);
    if (!ready.Ok()) return {};
    return {ready.file.begin() + korvex::kWavHeaderSize, ready.file.end()};
}

const std::vector<std::uint8_t>& SpokenSamples(const Phrase& phrase) {
    static std::map<std::string, std::vector<std::uint8_t>> spoken;
    auto found = spoken.find(phrase.name);
    if (found == spoken.end()) found = spoken.emplace(phrase.name, SpeakOnce(phrase)).first;
    return found->second;
}

void EncodePhrase(benchmark::State& state, const Phrase& phrase, korvex::DeltaEncoder encoder) {
    const std::vector<std::uint8_t>& x = SpokenSamples(phrase);
    if (x.empty()) {
        state.SkipWithError("espeak-ng made no sound");
        return;
    }
    std::vector<std::uint8_t> encoded(x.size() / 8);
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvex::EncodeDeltaWith(encoder, x, phrase.step, encoded));
        benchmark::ClobberMemory();
    }
    std::vector<std::uint8_t> decoded(encoded.size() * 8);
    korvex::DecodeDelta(encoded, phrase.step, decoded);
    state.counters["snr_db"] = korvex::SegmentalSnr(x, decoded);
    // What no encoder can pass with this decoder: the gap that is left.
    state.counters["ceiling_db"] = korvex::SegmentalSnrCeiling(x, phrase.step);
    state.counters["seconds"] = static_cast<double>(x.size()) / phrase.rate;
}

// A full 30720-byte slot of speech (the Russian phrase repeated).
void EncodeFullSlot(benchmark::State& state, korvex::DeltaEncoder encoder) {
    constexpr std::size_t kSlotBytes = 30720;
    const std::vector<std::uint8_t>& phrase = SpokenSamples(kPhrases[0]);
    if (phrase.empty()) {
        state.SkipWithError("espeak-ng made no sound");
        return;
    }
    std::vector<std::uint8_t> x;
    while (x.size() < kSlotBytes * 8) x.insert(x.end(), phrase.begin(), phrase.end());
    x.resize(kSlotBytes * 8);
    std::vector<std::uint8_t> encoded(kSlotBytes);
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvex::EncodeDeltaWith(encoder, x, 5, encoded));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * x.size()));
}

const int kRegistered = [] {
    for (const Phrase& phrase : kPhrases) {
        for (const auto encoder : {korvex::DeltaEncoder::Plain, korvex::DeltaEncoder::Trellis}) {
            const std::string name = "EncodePhrase/" + std::string(phrase.name) + "/" +
                                     std::string(korvex::DeltaEncoderName(encoder));
            benchmark::RegisterBenchmark(name.c_str(), EncodePhrase, phrase, encoder)
                ->Unit(benchmark::kMillisecond);
        }
    }
    for (const auto encoder : {korvex::DeltaEncoder::Plain, korvex::DeltaEncoder::Trellis}) {
        const std::string name = "EncodeFullSlot/" + std::string(korvex::DeltaEncoderName(encoder));
        benchmark::RegisterBenchmark(name.c_str(), EncodeFullSlot, encoder)->Unit(benchmark::kMillisecond);
    }
    return 0;
}();

}  // namespace

BENCHMARK_MAIN();
