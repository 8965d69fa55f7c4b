#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/sound_intake.h"
#include "audio/speech.h"
#include "voice/delta_codec.h"
#include "voice/delta_encoder.h"
#include "voice/segmental_snr.h"
#include "voice/voice_store.h"
#include "voice/wav_buffer.h"

namespace korvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Speech, SpokenTextFillsTheSlotInBothLanguages) {
    struct Case {
        ModuleKind kind;
        const char* language;
        const char* text;
        std::uint16_t rate;
    };
    const Case cases[] = {
        {ModuleKind::Full, "ru", "Тревога в зоне один", 16000},
        {ModuleKind::Full, "en", "Alarm in zone one", 16000},
        {ModuleKind::Compact, "en", "Alarm in zone one", 22050},
        {ModuleKind::Compact, "ru", "Тревога", 22050},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Profile& profile = ProfileFor(c.kind);
        VoiceStore store(profile);
        WavBuffer wav(profile);
        store.currentSlot = 1;
        const SoundOutcome outcome = LoadSpeech(c.text, c.language, store, wav, {});
        ASSERT_TRUE(outcome.Ok()) << SoundOutcomeText(profile, outcome);
        EXPECT_EQ(store.slotRate[1], c.rate);
        // A quarter of a second at least, five seconds at most.
        EXPECT_GT(store.slotLength[1], c.rate / 32);
        EXPECT_LT(store.slotLength[1], c.rate * 5 / 8);
    }
}

TEST(Speech, NothingToSpeakAndAnUnknownVoiceAreTold) {
    VoiceStore store(FullProfile());
    WavBuffer wav(FullProfile());
    const SoundOutcome empty = LoadSpeech("  \n", "ru", store, wav, {});
    EXPECT_EQ(empty.result, SoundResult::NoText);
    EXPECT_EQ(SoundOutcomeText(FullProfile(), empty), "Нет текста для озвучивания");
    const SoundOutcome unknown = LoadSpeech("text", "xx-nowhere", store, wav, {});
    EXPECT_EQ(unknown.result, SoundResult::SpeechFailed);
    EXPECT_TRUE(SoundOutcomeText(FullProfile(), unknown).starts_with("Не удалось озвучить текст (xx-nowhere"))
        << SoundOutcomeText(FullProfile(), unknown);
    EXPECT_EQ(store.slotLength[0], 0);
}

// A text longer than the free memory could hold spoken is refused before
// espeak-ng runs (100,000 characters took 16 s and 1.58 GB); one that may fit
// is still spoken.
TEST(Speech, ATextNoSlotCanHoldIsRefusedBeforeSpeaking) {
    VoiceStore store(FullProfile());
    WavBuffer wav(FullProfile());
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "зона ";
    const SoundOutcome refused = LoadSpeech(text, "ru", store, wav, {});
    EXPECT_EQ(refused.result, SoundResult::TextTooLong);
    EXPECT_EQ(SoundOutcomeText(FullProfile(), refused),
              "Текст слишком длинный: 80000 знаков не прозвучат за 15,4 с, которые вмещает память.");
    EXPECT_EQ(store.slotLength[0], 0);
    store.slotLength[1] = 30000;  // the other slots leave a little room only
    const SoundOutcome full = LoadSpeech("Тревога в зоне три, повторяю, тревога в зоне три", "ru", store, wav, {});
    EXPECT_EQ(full.result, SoundResult::TextTooLong) << SoundOutcomeText(FullProfile(), full);
    store.slotLength[1] = 0;
    EXPECT_TRUE(LoadSpeech("Тревога в зоне три", "ru", store, wav, {}).Ok());
    EXPECT_FALSE(SpeechMayFit(text, EmptyMemorySeconds(CompactProfile(), 22050)));
}

// The trellis encoder is never worse than the module's own rule on speech.
TEST(Speech, TrellisEncoderIsNeverWorseThanPlainOnSpokenPhrases) {
    struct Case {
        const char* language;
        const char* text;
        std::uint16_t rate;
        int step;
    };
    const Case cases[] = {
        {"ru", "Внимание! Тревога в зоне три.", 16000, 5},
        {"en", "Attention. Alarm in zone three.", 16000, 5},
        {"ru", "Пожар на объекте.", 22050, 5},
        {"en", "Fire at the site.", 22050, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const SpeechResult spoken = Speak(c.text, c.language);
        ASSERT_TRUE(spoken.ok) << spoken.reason;
        const SlotWavOutcome ready = SlotReadyWav(spoken.sound, c.rate);
        ASSERT_TRUE(ready.Ok()) << ready.error;
        ASSERT_GT(ready.file.size(), kWavHeaderSize);
        const Bytes x(ready.file.begin() + kWavHeaderSize, ready.file.end());
        double snr[2];
        for (int i = 0; i < 2; ++i) {
            Bytes encoded(x.size() / 8);
            EncodeDeltaWith(i == 0 ? DeltaEncoder::Plain : DeltaEncoder::Trellis, x, c.step, encoded);
            Bytes decoded(encoded.size() * 8);
            DecodeDelta(encoded, c.step, decoded);
            snr[i] = SegmentalSnr(x, decoded);
        }
        EXPECT_GT(snr[0], 1.0) << "the plain encoder follows speech at all";
        EXPECT_GT(snr[1], snr[0] + 0.5);
    }
}

}  // namespace
}  // namespace korvex
