// What the Play button finds playable in the WAV buffer.
#include <gtest/gtest.h>

#include "voice/voice_store.h"
#include "voice/voice_wav_maker.h"
#include "voice/wav_buffer.h"
#include "app/wav_player.h"

namespace korvex::test {
namespace {

std::vector<std::uint8_t> Buffered(std::vector<std::uint8_t> file, std::size_t size = 4096) {
    file.resize(std::max(size, file.size()), WavBuffer::kFill);
    return file;
}

std::vector<std::uint8_t> Truncated(std::vector<std::uint8_t> file, std::size_t size) {
    file.resize(size);
    return file;
}

TEST(WavImage, PlayableImagesAndWhatIsNot) {
    using korvex::test::MakeWav;
    const std::vector<std::uint8_t> samples(800, 200);
    std::vector<std::uint8_t> withList = MakeWav(samples);
    // A LIST chunk between "fmt " and "data", as editors write them.
    const std::uint8_t list[] = {'L', 'I', 'S', 'T', 4, 0, 0, 0, 'I', 'N', 'F', 'O'};
    withList.insert(withList.begin() + 36, std::begin(list), std::end(list));

    struct Case {
        const char* what;
        std::vector<std::uint8_t> image;
        std::uint32_t soundLength;
        std::uint32_t rate;      // 0: nothing to play
        std::size_t samples;
    };
    const Case cases[] = {
        {"loaded file", Buffered(MakeWav(samples, {.rate = 11025})), 844, 11025, 800},
        {"extra chunk before the data", Buffered(withList), 856, 22050, 800},
        {"nothing loaded, or a refused file emptied", std::vector<std::uint8_t>(4096, WavBuffer::kFill), 0, 0, 0},
        {"slot never loaded (rate 0)", Buffered(MakeWav(samples, {.rate = 0})), 800, 0, 0},
        {"sixteen bits", Buffered(MakeWav(samples, {.bits = 16})), 844, 0, 0},
        {"empty slot", Buffered(MakeWav({})), 0, 0, 0},
        {"data chunk longer than the buffer", Truncated(MakeWav(samples), 444), 844, 22050, 400},
    };
    for (const Case& c : cases) {
        const auto info = InspectWavImage(c.image, c.soundLength);
        ASSERT_EQ(info.has_value(), c.rate != 0) << c.what;
        if (!info) continue;
        EXPECT_EQ(info->rate, c.rate) << c.what;
        EXPECT_EQ(info->samples.size(), c.samples) << c.what;
        EXPECT_EQ(info->samples.front(), 200) << c.what;
    }
}

TEST(WavImage, DecodedSlotIsPlayableAtItsRate) {
    const Profile& profile = FullProfile();
    VoiceStore store(profile);
    WavBuffer wav(profile);
    store.slotLength[2] = 100;
    store.slotRate[2] = 16000;
    store.currentSlot = 2;
    DecodeSlotToWav(store, wav);
    const auto info = InspectWavImage(wav.bytes, wav.SoundLength);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->rate, 16000u);
    EXPECT_EQ(info->samples.size(), 800u);
    // Playing never blocks or fails loudly, with or without a sound output.
    WavPlayer player;
    player.Play(wav.bytes, wav.SoundLength);
    player.Stop();
}

}  // namespace
}  // namespace korvex::test
