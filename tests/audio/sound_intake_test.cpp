#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <random>
#include <unistd.h>

#include "audio/sound_file_maker.h"
#include "audio/sound_intake.h"
#include "voice/delta_codec.h"
#include "voice/voice_store.h"
#include "voice/wav_buffer.h"
#include "voice/voice_wav_maker.h"

namespace korvex {
namespace {

namespace fs = std::filesystem;
using korvex::test::SoundFileSpec;
using Bytes = std::vector<std::uint8_t>;

class SoundIntake : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("korvex-sound-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path dir;
};

// What reaches the slot for each kind of file. Lengths are slot bytes
// (8 samples each) with some room for the resampler's edges and the trim.
TEST_F(SoundIntake, EachKindOfFileReachesTheSlotOrIsRefused) {
    struct Case {
        const char* name;
        ModuleKind kind;
        SoundFileSpec spec;        // written with libsndfile unless `bytes` is given
        Bytes bytes;
        SoundResult result;
        std::uint16_t rate;        // the slot's, when loaded
        std::uint32_t minLength;
        std::uint32_t maxLength;
        std::string text;          // the message, when refused; ending in "(": its start
                                   // (the library's reason follows)
    };
    std::mt19937 random(3);
    Bytes corrupt(300000);
    for (auto& b : corrupt) b = static_cast<std::uint8_t>(random());
    std::copy_n("fLaC", 4, corrupt.begin());
    Bytes smallCorrupt(corrupt.begin(), corrupt.begin() + 2000);

    const Case cases[] = {
        {"16-bit stereo 44.1 kHz", ModuleKind::Full, {}, {}, SoundResult::Ok, 16000, 1990, 2000, ""},
        {"float 48 kHz", ModuleKind::Full, {.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT, .rate = 48000, .channels = 1},
         {}, SoundResult::Ok, 16000, 1990, 2000, ""},
        {"FLAC 22050 Hz on the compact module", ModuleKind::Compact,
         {.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16, .rate = 22050, .channels = 1}, {}, SoundResult::Ok, 22050,
         2752, 2816, ""},
        {"OGG Vorbis 32 kHz", ModuleKind::Full, {.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS, .rate = 32000},
         {}, SoundResult::Ok, 16000, 1980, 2000, ""},
        {"16-bit stereo on the compact module", ModuleKind::Compact, {}, {}, SoundResult::Ok, 22050, 2752, 2816, ""},
        {"only silence", ModuleKind::Full, {.amplitude = 0}, {}, SoundResult::Silent, 0, 0, 0,
         "В файле нет звука, только тишина"},
        {"only silence, compact", ModuleKind::Compact, {.amplitude = 0}, {}, SoundResult::Silent, 0, 0, 0,
         "The file holds only silence"},
        {"too long: 20 s", ModuleKind::Full, {.seconds = 20}, {}, SoundResult::TooLong, 0, 0, 0,
         "Звук длится 20,0 с, а в свободную память помещается 15,4 с."},
        {"too long on the compact module", ModuleKind::Compact, {.seconds = 20}, {}, SoundResult::TooLong, 0, 0, 0,
         "The sound lasts 20.0 s; the free memory holds 11.6 s."},
        {"a corrupt file too large for the WAV intake", ModuleKind::Full, {}, corrupt, SoundResult::CannotDecode, 0,
         0, 0, "Не удалось прочитать звук из файла: \"FILE\" ("},
        {"a small corrupt file gets the WAV intake's word", ModuleKind::Full, {}, smallCorrupt,
         SoundResult::Refused, 0, 0, 0, "Неизвестный формат"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Profile& profile = ProfileFor(c.kind);
        VoiceStore store(profile);
        WavBuffer wav(profile);
        store.currentSlot = 1;
        const fs::path path = dir / "input";
        if (c.bytes.empty()) korvex::test::WriteSoundFile(path, c.spec);
        else korvex::test::WriteBytes(path, c.bytes);

        const SoundOutcome outcome = LoadSoundFile(path, store, wav, {});
        EXPECT_EQ(outcome.result, c.result) << SoundOutcomeText(profile, outcome);
        if (c.result == SoundResult::Ok) {
            EXPECT_TRUE(outcome.converted);
            EXPECT_EQ(store.slotRate[1], c.rate);
            EXPECT_GE(store.slotLength[1], c.minLength);
            EXPECT_LE(store.slotLength[1], c.maxLength);
            EXPECT_EQ(wav.bytes[24] | (wav.bytes[25] << 8), c.rate) << "the buffer holds the converted file";
        } else {
            std::string text = c.text;
            if (const auto at = text.find("FILE"); at != std::string::npos) text.replace(at, 4, path.string());
            const std::string told = SoundOutcomeText(profile, outcome);
            if (text.ends_with("(")) {
                EXPECT_TRUE(told.starts_with(text) && told.size() > text.size() + 1) << told;
            } else {
                EXPECT_EQ(told, text);
            }
            EXPECT_EQ(store.slotLength[1], 0) << "the slot is not touched";
        }
    }
}

TEST_F(SoundIntake, AnEightBitMonoFileAtAnAcceptedRateTakesTheWavIntakeAsItIs) {
    const Profile& profile = FullProfile();
    VoiceStore store(profile);
    WavBuffer wav(profile);
    const Bytes file = korvex::test::MakeWav(korvex::test::Sawtooth(4003), {.rate = 11025});
    korvex::test::WriteBytes(dir / "ready.wav", file);

    const SoundOutcome outcome = LoadSoundFile(dir / "ready.wav", store, wav, {.encoder = DeltaEncoder::Trellis});
    ASSERT_TRUE(outcome.Ok());
    EXPECT_FALSE(outcome.converted);
    EXPECT_EQ(store.slotRate[0], 11025);
    EXPECT_EQ(store.slotLength[0], 500);
    EXPECT_TRUE(std::equal(file.begin(), file.end(), wav.bytes.begin())) << "the buffer holds the file as loaded";
    Bytes plain(500);
    EncodeDelta(std::span(file).subspan(kWavHeaderSize), profile.codecStep, plain);
    EXPECT_TRUE(std::equal(plain.begin(), plain.end(), store.Area(0).begin())) << "encoded by the module's rule";

    // The same file refused by the WAV intake in its own words when it
    // breaks a rule libsndfile cannot read past either.
    Bytes noFmt = file;
    noFmt[12] = 'F';
    korvex::test::WriteBytes(dir / "nofmt.wav", noFmt);
    const SoundOutcome refused = LoadSoundFile(dir / "nofmt.wav", store, wav, {});
    EXPECT_EQ(refused.result, SoundResult::Refused);
    EXPECT_EQ(SoundOutcomeText(profile, refused), "Неизвестный формат");
}

TEST_F(SoundIntake, TooLongIsCutToTheFreeMemoryWhenAsked) {
    struct Case {
        const char* name;
        SoundFileSpec spec;
        Bytes bytes;
        const char* question;
    };
    // An 8-bit mono file the WAV intake refuses as too large is offered
    // for cutting too, at its own rate, and told in bytes as well.
    const Case cases[] = {
        {"16-bit stereo, 20 s",
         {.seconds = 20},
         {},
         "Звук длится 20,0 с, а в свободную память помещается 10,4 с.\nОбрезать звук до 10,4 с?"},
        {"8-bit mono 16000 Hz, 20 s",
         {},
         korvex::test::MakeWav(korvex::test::Sawtooth(16000 * 20), {.rate = 16000}),
         "Звук длится 20,0 с (40000 байт), а в свободную память помещается 10,4 с (20719 байт).\n"
         "Обрезать звук до 10,4 с?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Profile& profile = FullProfile();
        VoiceStore store(profile);
        WavBuffer wav(profile);
        store.slotLength[0] = 10000;  // another slot holds a third of the memory
        store.currentSlot = 2;
        const fs::path path = dir / "long";
        if (c.bytes.empty()) korvex::test::WriteSoundFile(path, c.spec);
        else korvex::test::WriteBytes(path, c.bytes);

        const SoundOutcome asked = LoadSoundFile(path, store, wav, {});
        ASSERT_EQ(asked.result, SoundResult::TooLong);
        EXPECT_NEAR(asked.roomSeconds, (32767.0 - 2048 - 10000) * 8 / 16000, 0.01);
        EXPECT_EQ(CutQuestion(profile, asked), c.question);
        EXPECT_EQ(store.slotLength[2], 0);

        const SoundOutcome cut = LoadSoundFile(path, store, wav, {.cut = true});
        ASSERT_TRUE(cut.Ok()) << SoundOutcomeText(profile, cut);
        EXPECT_TRUE(cut.cut);
        EXPECT_EQ(store.slotLength[2], 32767 - 2048 - 10000);
        EXPECT_EQ(store.slotRate[2], 16000);
    }
}

// A file in the module's format a little too long (the slot takes 30719
// bytes, the file needs 30720) is taken as it is or not at all: refused with
// both lengths, or cut to the plain encoding's first bytes, never
// converted, levelled and faded.
TEST_F(SoundIntake, AFileInTheModulesFormatTooLongIsTakenAsItIsOrRefused) {
    const Profile& profile = FullProfile();
    const Bytes file = korvex::test::MakeWav(korvex::test::Sawtooth(245760), {.rate = 16000});
    korvex::test::WriteBytes(dir / "long.wav", file);
    VoiceStore store(profile);
    WavBuffer wav(profile);

    const SoundOutcome refused = LoadSoundFile(dir / "long.wav", store, wav, {});
    ASSERT_EQ(refused.result, SoundResult::TooLong);
    EXPECT_EQ(SoundOutcomeText(profile, refused),
              "Звук длится 15,4 с (30720 байт), а в свободную память помещается 15,4 с (30719 байт).");
    EXPECT_EQ(store.slotLength[0], 0);

    const SoundOutcome cut = LoadSoundFile(dir / "long.wav", store, wav, {.cut = true});
    ASSERT_TRUE(cut.Ok()) << SoundOutcomeText(profile, cut);
    EXPECT_FALSE(cut.converted);
    ASSERT_EQ(store.slotLength[0], 30719);
    Bytes plain(30720);
    EncodeDelta(std::span(file).subspan(kWavHeaderSize), profile.codecStep, plain);
    EXPECT_TRUE(std::equal(store.Area(0).begin(), store.Area(0).begin() + 30719, plain.begin()))
        << "the plain encoding of the file's first samples";
}

// Float samples that are no numbers would give an empty slot or a buzz:
// such a file is refused and says why.
TEST_F(SoundIntake, NonFiniteSamplesAreRefused) {
    struct Case {
        const char* name;
        int rate;
        std::vector<std::size_t> at;  // the samples made non-finite
        float value;
    };
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {"one +Inf in a 1 s sine", 16000, {8000}, inf},
        {"all -Inf", 16000, {}, -inf},
        {"one NaN at 44.1 kHz", 44100, {20000}, std::numeric_limits<float>::quiet_NaN()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<float> samples(static_cast<std::size_t>(c.rate));
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = c.at.empty() ? c.value : 0.5f * std::sin(static_cast<float>(i) * 0.1f);
        for (std::size_t i : c.at) samples[i] = c.value;
        SF_INFO info{};
        info.samplerate = c.rate;
        info.channels = 1;
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        SNDFILE* out = sf_open((dir / "float.wav").c_str(), SFM_WRITE, &info);
        ASSERT_NE(out, nullptr);
        sf_writef_float(out, samples.data(), static_cast<sf_count_t>(samples.size()));
        sf_close(out);

        VoiceStore store(FullProfile());
        WavBuffer wav(FullProfile());
        const SoundOutcome outcome = LoadSoundFile(dir / "float.wav", store, wav, {});
        EXPECT_EQ(outcome.result, SoundResult::NotFinite);
        EXPECT_EQ(SoundOutcomeText(FullProfile(), outcome),
                  "В файле есть отсчёты, не являющиеся числами (NaN или бесконечность); такой звук не загружается");
        EXPECT_EQ(store.slotLength[0], 0);
    }
}

// A header libsndfile cannot read is told by its real fault, not as the
// WAV intake's bit depth; a file with no samples empties the slot in every
// format alike.
TEST_F(SoundIntake, DamagedAndEmptyWavFilesAreToldWhatTheyAre) {
    korvex::test::WriteSoundFile(dir / "tone.wav", {.channels = 1});
    Bytes tone = korvex::test::ReadBytes(dir / "tone.wav");
    ASSERT_GT(tone.size(), kWavHeaderSize);
    Bytes noChannels = tone;
    noChannels[22] = noChannels[23] = 0;
    Bytes hugeFmt = tone;
    hugeFmt[16] = 0x00;
    hugeFmt[17] = hugeFmt[18] = hugeFmt[19] = 0xFF;
    korvex::test::WriteSoundFile(dir / "empty16.wav", {.channels = 1, .seconds = 0});
    struct Case {
        const char* name;
        Bytes bytes;
        SoundResult result;
        std::string text;
    };
    const Case cases[] = {
        {"16-bit, 0 channels", noChannels, SoundResult::BadWav, "Заголовок WAV неверен: в нём 0 каналов"},
        {"16-bit, an fmt chunk of 4 GB", hugeFmt, SoundResult::BadWav, "Заголовок WAV неверен: блок fmt длиннее файла"},
        {"8-bit, no samples", korvex::test::MakeWav({}, {.rate = 16000}), SoundResult::Ok, ""},
        {"16-bit, no samples", korvex::test::ReadBytes(dir / "empty16.wav"), SoundResult::Ok, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VoiceStore store(FullProfile());
        WavBuffer wav(FullProfile());
        store.slotLength[0] = 100;  // something the empty file replaces
        korvex::test::WriteBytes(dir / "in.wav", c.bytes);
        const SoundOutcome outcome = LoadSoundFile(dir / "in.wav", store, wav, {});
        EXPECT_EQ(outcome.result, c.result) << SoundOutcomeText(FullProfile(), outcome);
        EXPECT_EQ(SoundOutcomeText(FullProfile(), outcome), c.text);
        EXPECT_EQ(store.slotLength[0], c.result == SoundResult::Ok ? 0 : 100);
    }
}

// A file longer than is read (10 min) is told by its own length.
TEST_F(SoundIntake, ALongFileIsToldItsRealLength) {
    korvex::test::WriteSoundFile(
        dir / "long.wav",
        {.format = SF_FORMAT_WAV | SF_FORMAT_PCM_U8, .rate = 8000, .channels = 1, .seconds = 30 * 60});
    VoiceStore store(FullProfile());
    WavBuffer wav(FullProfile());
    const SoundOutcome outcome = LoadSoundFile(dir / "long.wav", store, wav, {});
    ASSERT_EQ(outcome.result, SoundResult::TooLong);
    EXPECT_EQ(SoundOutcomeText(FullProfile(), outcome), "Звук длится 30 мин, а в свободную память помещается 15,4 с.");
}

TEST_F(SoundIntake, ARateThePlayerPicksIsUsedAndOthersAreRefused) {
    const Profile& profile = FullProfile();
    VoiceStore store(profile);
    WavBuffer wav(profile);
    korvex::test::WriteSoundFile(dir / "in.wav", {});
    ASSERT_TRUE(LoadSoundFile(dir / "in.wav", store, wav, {.rate = 11025}).Ok());
    EXPECT_EQ(store.slotRate[0], 11025);
    EXPECT_NEAR(store.slotLength[0], 11025 / 8, 8);

    const SoundOutcome refused = LoadSoundFile(dir / "in.wav", store, wav, {.rate = 8000});
    EXPECT_EQ(refused.result, SoundResult::BadRate);
    EXPECT_EQ(SoundOutcomeText(profile, refused), "Частота дискретизации только 22050, 16000, 11025 Hz");
    EXPECT_EQ(LoadSoundFile(dir / "in.wav", store, wav, {.rate = 16000}).rate, 16000);
    VoiceStore compact(CompactProfile());
    WavBuffer compactWav(CompactProfile());
    EXPECT_EQ(LoadSoundFile(dir / "in.wav", compact, compactWav, {.rate = 16000}).result, SoundResult::BadRate);
}

TEST_F(SoundIntake, AFileThatCannotBeOpenedIsToldAsTheWavIntakeTellsIt) {
    VoiceStore store(FullProfile());
    WavBuffer wav(FullProfile());
    const SoundOutcome outcome = LoadSoundFile(dir / "missing.wav", store, wav, {});
    EXPECT_EQ(outcome.result, SoundResult::Refused);
    EXPECT_EQ(outcome.wav.result, WavResult::CannotOpen);
}

}  // namespace
}  // namespace korvex
