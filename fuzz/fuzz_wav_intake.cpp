// WAV intake on arbitrary bytes, for both modules.
// Input: byte 0 picks the module (bit 0) and the current slot (bits 1..3),
// bytes 1..2 the length another slot already holds; the rest is the file.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "voice/voice_rules.h"
#include "voice/voice_store.h"
#include "voice/wav_buffer.h"
#include "voice/wav_intake.h"

namespace {

using namespace korvex;

void Require(bool ok) {
    if (!ok) std::abort();
}

struct Bench {
    explicit Bench(const Profile& p) : store(p), wav(p) {}
    VoiceStore store;
    WavBuffer wav;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    static Bench full(FullProfile());
    static Bench compact(CompactProfile());
    Bench& b = (data[0] & 1) ? compact : full;
    const Profile& profile = b.store.GetProfile();
    VoiceStore& store = b.store;

    std::fill(store.slotLength.begin(), store.slotLength.end(), 0);
    store.currentSlot = (data[0] >> 1) % store.SlotCount();
    const int other = (store.currentSlot + 1) % store.SlotCount();
    store.slotLength[other] = static_cast<std::uint16_t>((data[1] | data[2] << 8) & 0x7FFF);
    store.slotLength[store.currentSlot] = 1000;
    b.wav.SoundLength = 0xDEADBEEF;

    const std::span<const std::uint8_t> file(data + 3, size - 3);
    const std::uint32_t others = store.slotLength[other];
    const WavOutcome out = LoadWav(file, store, b.wav);
    const std::uint32_t length = store.slotLength[store.currentSlot];

    switch (out.result) {
        case WavResult::Ok:
            Require(file.size() >= kWavHeaderSize);
            Require(length == SlotLengthFor(profile, static_cast<std::uint32_t>((file.size() - kWavHeaderSize) / 8)));
            // Whatever loads can be written: the slots end by the memory end.
            Require(others + length <= VoiceRulesFor(profile).intakeLimit);
            Require(profile.voiceStart + store.Used() <= kMemorySize);
            Require(b.wav.SoundLength == file.size());
            break;
        case WavResult::ShorterThanHeader:
        case WavResult::TooLarge:
            Require(length == 1000 && b.wav.SoundLength == 0xDEADBEEF);
            break;
        case WavResult::CannotOpen:
        case WavResult::CannotRead:
            std::abort();  // no file involved
        default:
            Require(length == 1000);
            Require(b.wav.SoundLength == (VoiceRulesFor(profile).refusalDecodesSlot ? 8000u : 0u));
            break;
    }
    Require(!WavOutcomeText(profile, out).empty() || out.Ok());

    DecodeSlotToWav(store, b.wav);
    Require(b.wav.SoundLength == 8u * length);
    return 0;
}
