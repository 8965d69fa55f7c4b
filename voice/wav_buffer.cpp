#include "voice/wav_buffer.h"

#include <algorithm>

#include "voice/delta_codec.h"
#include "voice/voice_store.h"

namespace korvex {
namespace {

void Put16(std::span<std::uint8_t> out, std::size_t at, std::uint32_t v) {
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::span<std::uint8_t> out, std::size_t at, std::uint32_t v) {
    Put16(out, at, v & 0xFFFF);
    Put16(out, at + 2, v >> 16);
}

void PutTag(std::span<std::uint8_t> out, std::size_t at, const char (&tag)[5]) {
    std::copy(tag, tag + 4, out.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

std::size_t DecodableBytes(const WavBuffer& wav) {
    return wav.bytes.size() < kWavHeaderSize ? 0 : (wav.bytes.size() - kWavHeaderSize) / 8;
}

void WriteWavHeader(std::span<std::uint8_t> out, std::uint32_t rate, std::uint32_t samples) {
    PutTag(out, 0, "RIFF");
    Put32(out, 4, samples + 36);
    PutTag(out, 8, "WAVE");
    PutTag(out, 12, "fmt ");
    Put32(out, 16, 16);
    Put16(out, 20, 1);      // PCM
    Put16(out, 22, 1);      // mono
    Put32(out, 24, rate);
    Put32(out, 28, rate);   // byte rate: one byte per sample
    Put16(out, 32, 1);      // block align
    Put16(out, 34, 8);      // bits per sample
    PutTag(out, 36, "data");
    Put32(out, 40, samples);
}

void DecodeSlotToWav(const VoiceStore& store, WavBuffer& wav) {
    const auto slot = static_cast<std::size_t>(store.currentSlot);
    const std::size_t n = std::min<std::size_t>(store.slotLength[slot] & 0x7FFF, DecodableBytes(wav));
    const auto samples = static_cast<std::uint32_t>(8 * n);
    wav.SoundLength = samples;
    WriteWavHeader(wav.bytes, store.slotRate[slot], samples);
    DecodeDelta(store.Area(store.currentSlot).first(n), store.GetProfile().codecStep,
                std::span(wav.bytes).subspan(kWavHeaderSize, samples));
}

}  // namespace korvex
