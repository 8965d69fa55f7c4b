// The voice directory and slot decoding with lengths, starts and rates as a
// module may hold them. Input: byte 0 bit 0 picks the compact module; then
// the directory bytes; the rest fills the slot areas.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "voice/voice_store.h"
#include "voice/wav_buffer.h"

using namespace korvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const Profile& profile = (data[0] & 1) ? CompactProfile() : FullProfile();
    const std::size_t dirSize = DirectoryBytes(profile);
    if (size < 1 + dirSize) return 0;
    static VoiceStore fullStore(FullProfile()), compactStore(CompactProfile());
    static WavBuffer fullWav(FullProfile()), compactWav(CompactProfile());
    VoiceStore& store = (data[0] & 1) ? compactStore : fullStore;
    WavBuffer& wav = (data[0] & 1) ? compactWav : fullWav;

    DecodeDirectory(std::span(data + 1, dirSize), store);
    const std::span<const std::uint8_t> rest(data + 1 + dirSize, size - 1 - dirSize);
    for (int slot = 0; slot < store.SlotCount(); ++slot) {
        auto area = store.Area(slot);
        if (rest.empty()) std::fill(area.begin(), area.end(), VoiceStore::kAreaFill);
        else for (std::size_t i = 0; i < area.size(); ++i) area[i] = rest[i % rest.size()];
    }
    for (int slot = 0; slot < store.SlotCount(); ++slot) {
        store.currentSlot = slot;
        DecodeSlotToWav(store, wav);
        // Never more sound than the WAV buffer holds.
        if (wav.SoundLength > wav.bytes.size()) std::abort();
    }
    (void)EncodeDirectory(store);
    return 0;
}
