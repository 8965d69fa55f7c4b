#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "link/path_text.h"
#include "voice/delta_codec.h"
#include "voice/voice_store.h"
#include "voice/wav_buffer.h"
#include "voice/wav_intake.h"
#include "voice_wav_maker.h"

namespace korvex {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::MakeWav;
using testing::Sawtooth;
using testing::WavFields;

class WavIntake : public ::testing::TestWithParam<ModuleKind> {
protected:
    const Profile& profile = ProfileFor(GetParam());
    VoiceStore store{profile};
    WavBuffer wav{profile};
    bool full = GetParam() == ModuleKind::Full;
};

TEST_P(WavIntake, SlotLengthFollowsTheSampleCount) {
    // 44 + 8k + r bytes give k encoded bytes; the compact module rounds the
    // slot up to whole pages, one page more on an exact multiple.
    struct Case {
        std::size_t samples;
        std::uint16_t fullLength;
        std::uint16_t compactLength;
    };
    const Case cases[] = {{0, 0, 64}, {7, 0, 64}, {8 * 10 + 7, 10, 64}, {8 * 63, 63, 64},
                          {8 * 64, 64, 128}, {8 * 1000 + 3, 1000, 1024}};
    for (const auto& c : cases) {
        store.currentSlot = 1;
        const Bytes file = MakeWav(Sawtooth(c.samples));
        const WavOutcome out = LoadWav(file, store, wav);
        ASSERT_TRUE(out.Ok()) << c.samples;
        EXPECT_EQ(store.slotLength[1], full ? c.fullLength : c.compactLength) << c.samples;
        EXPECT_EQ(store.slotRate[1], 22050);
        EXPECT_EQ(wav.SoundLength, file.size());
        EXPECT_TRUE(std::equal(file.begin(), file.end(), wav.bytes.begin())) << "buffer holds the file as loaded";
        EXPECT_EQ(wav.bytes[file.size()], 127);
    }
}

TEST_P(WavIntake, EncodesIntoTheCurrentSlotOnly) {
    store.currentSlot = 2;
    // 200 x4 then 0 x4 encodes as 11110000 with either step.
    const Bytes file = MakeWav({200, 200, 200, 200, 0, 0, 0, 0, 9, 9});
    ASSERT_TRUE(LoadWav(file, store, wav).Ok());
    EXPECT_EQ(store.Area(2)[0], 0xF0);
    // Past the encoded byte the area keeps what it held (the compact slot's
    // rounded-up page included).
    EXPECT_EQ(store.Area(2)[1], 85);
    for (int s : {0, 1}) {
        EXPECT_EQ(store.slotLength[s], 0);
        EXPECT_EQ(store.Area(s)[0], 85);
    }
}

TEST_P(WavIntake, AcceptsOtherRatesWhereTheModuleDoes) {
    for (std::uint32_t rate : {16000u, 11025u}) {
        const WavOutcome out = LoadWav(MakeWav(Sawtooth(80), {.rate = rate}), store, wav);
        if (full) {
            ASSERT_TRUE(out.Ok()) << rate;
            EXPECT_EQ(store.slotRate[0], rate);
        } else {
            EXPECT_EQ(out.result, WavResult::BadRate) << rate;
        }
    }
}

TEST_P(WavIntake, ChecksRunInTheirOrder) {
    struct Case {
        const char* name;
        WavFields fields;
        WavResult want;
    };
    const Case cases[] = {
        {"no fmt beats everything", {.rate = 44100, .bits = 16, .channels = 2, .fmtTag = false}, WavResult::UnknownFormat},
        {"16-bit stereo at another rate reports the rate", {.rate = 44100, .bits = 16, .channels = 2}, WavResult::BadRate},
        {"16-bit stereo at 22050 reports the bits", {.rate = 22050, .bits = 16, .channels = 2}, WavResult::BadBits},
        {"8-bit stereo reports the channels", {.rate = 22050, .bits = 8, .channels = 2}, WavResult::BadChannels},
        // Only the low halves are looked at.
        {"rate high half ignored", {.rate = 22050 + 65536}, WavResult::Ok},
        {"channel high byte ignored", {.channels = 1 + 256}, WavResult::Ok},
    };
    for (const auto& c : cases) {
        VoiceStore fresh(profile);
        EXPECT_EQ(LoadWav(MakeWav(Sawtooth(64), c.fields), fresh, wav).result, c.want) << c.name;
    }
}

TEST_P(WavIntake, MessagesAreTheProgramsOwn) {
    struct Case {
        WavResult result;
        const char* fullText;
        const char* compactText;
    };
    const Case cases[] = {
        {WavResult::TooLarge, "Слишком большой файл", "File is too long"},
        {WavResult::UnknownFormat, "Неизвестный формат", "Unknown format!"},
        {WavResult::BadRate, "Частота только 22050, 16000, 11025 Гц", "Error: not 22050 Hz!"},
        {WavResult::BadBits, "Разрешение только 8 бит", "Error: not 8-bit!"},
        {WavResult::BadChannels, "Только моно", "Error: not mono!"},
        {WavResult::Ok, "", ""},
    };
    for (const auto& c : cases) {
        WavOutcome outcome;
        outcome.result = c.result;
        EXPECT_EQ(WavOutcomeText(profile, outcome), full ? c.fullText : c.compactText);
    }
}

TEST_P(WavIntake, RefusedHeaderLeavesTheSlotAlone) {
    store.currentSlot = 1;
    const std::uint32_t rate = full ? 11025 : 22050;
    ASSERT_TRUE(LoadWav(MakeWav({200, 200, 200, 200, 0, 0, 0, 0}, {.rate = rate}), store, wav).Ok());
    const auto lengths = store.slotLength;
    const auto rates = store.slotRate;

    const WavOutcome out = LoadWav(MakeWav(Sawtooth(800), {.bits = 16}), store, wav);
    EXPECT_EQ(out.result, WavResult::BadBits);
    EXPECT_EQ(store.slotLength, lengths);
    EXPECT_EQ(store.slotRate, rates);
    EXPECT_EQ(store.Area(1)[0], 0xF0);

    if (full) {
        // The buffer shows the current slot again.
        EXPECT_EQ(wav.SoundLength, 8u);
        EXPECT_EQ(std::string(wav.bytes.begin(), wav.bytes.begin() + 4), "RIFF");
        EXPECT_EQ(wav.bytes[24] | wav.bytes[25] << 8, 11025);
        EXPECT_EQ(wav.bytes[44], 133);
        EXPECT_EQ(wav.bytes[44 + 8], 127);
    } else {
        EXPECT_EQ(wav.SoundLength, 0u);
        EXPECT_TRUE(std::all_of(wav.bytes.begin(), wav.bytes.end(), [](std::uint8_t b) { return b == 127; }));
    }
}

TEST_P(WavIntake, SizeCheckCountsTheOtherSlotsOnly) {
    // Full: 2048 + others + count < 32768. Compact: the rounded slot must end
    // by the memory end, 832 + others + slot <= 32768.
    const std::uint32_t others = full ? 10000 : 9984;
    const std::uint32_t limit = full ? 30719 - others : 31936 - others;  // largest accepted slot length
    store.slotLength[0] = static_cast<std::uint16_t>(others);
    store.currentSlot = 1;
    store.slotLength[1] = 20000;  // the slot being replaced does not count

    const std::uint32_t fitting = full ? limit : limit - 1;  // compact: count 64m - 1 rounds to 64m
    const Bytes fits = MakeWav(Sawtooth(8 * fitting + 7));
    ASSERT_TRUE(LoadWav(fits, store, wav).Ok());
    EXPECT_EQ(store.slotLength[1], limit);

    const Bytes marker = MakeWav(Sawtooth(16), {.rate = 22050});
    wav.Clear();
    std::copy(marker.begin(), marker.end(), wav.bytes.begin());
    wav.SoundLength = 1234;
    const auto areaBefore = Bytes(store.Area(1).begin(), store.Area(1).end());
    const Bytes tooBig = MakeWav(Sawtooth(8 * (fitting + 1)));
    EXPECT_EQ(LoadWav(tooBig, store, wav).result, WavResult::TooLarge);
    EXPECT_EQ(store.slotLength[1], limit);
    EXPECT_EQ(wav.SoundLength, 1234u);
    EXPECT_TRUE(std::equal(marker.begin(), marker.end(), wav.bytes.begin()));
    EXPECT_TRUE(std::equal(areaBefore.begin(), areaBefore.end(), store.Area(1).begin()));
}

TEST(WavIntakeCompact, AFullVoiceMemoryStopsAtTheMemoryEnd) {
    // 832 + 32000 would wrap the last page onto the marker at 0..63. The
    // buffer rule alone (L + 8 x others < 256100) would let this file in.
    VoiceStore store(CompactProfile());
    WavBuffer wav(CompactProfile());
    const Bytes file = MakeWav(Sawtooth(8 * 31936));
    ASSERT_LT(file.size(), 256100u);
    EXPECT_EQ(LoadWav(file, store, wav).result, WavResult::TooLarge);
    ASSERT_TRUE(LoadWav(MakeWav(Sawtooth(8 * 31935)), store, wav).Ok());
    EXPECT_EQ(store.slotLength[0], 31936);
}

TEST_P(WavIntake, FileProblemsChangeNothing) {
    const auto dir = std::filesystem::temp_directory_path() / ("voice_intake_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    const auto shortFile = dir / "short.wav";
    {
        const Bytes header = MakeWav({});
        std::ofstream(shortFile, std::ios::binary).write(reinterpret_cast<const char*>(header.data()), 43);
    }
    const auto good = dir / PathFromUtf8("звук.wav");  // any name opens
    {
        const Bytes file = MakeWav({200, 200, 200, 200, 0, 0, 0, 0});
        std::ofstream(good, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());
    }

    store.slotLength[0] = 5;
    wav.SoundLength = 77;
    wav.bytes[0] = 1;
    struct Case {
        std::filesystem::path path;
        WavResult want;
        std::string textStart;
    };
    const Case cases[] = {
        {dir / "missing.wav", WavResult::CannotOpen, full ? "Не удалось открыть файл" : "Cannot open file"},
#ifdef _WIN32
        // Windows refuses to open a folder as a file.
        {dir, WavResult::CannotOpen, full ? "Не удалось открыть файл" : "Cannot open file"},
#else
        {dir, WavResult::CannotRead, full ? "Не удалось прочитать файл" : "Cannot read file"},
#endif
        {shortFile, WavResult::ShorterThanHeader, full ? "Файл короче заголовка" : "File is shorter than a WAV header"},
    };
    for (const auto& c : cases) {
        const WavOutcome out = LoadWavFile(c.path, store, wav);
        EXPECT_EQ(out.result, c.want) << c.path;
        const std::string text = WavOutcomeText(profile, out);
        EXPECT_EQ(text.rfind(c.textStart, 0), 0u) << text;
        EXPECT_NE(text.find(PathToUtf8(c.path)), std::string::npos) << "names the file: " << text;
        if (c.want != WavResult::ShorterThanHeader) {
            EXPECT_FALSE(out.reason.empty()) << "gives the reason";
        }
        EXPECT_EQ(store.slotLength[0], 5);
        EXPECT_EQ(wav.SoundLength, 77u);
        EXPECT_EQ(wav.bytes[0], 1);
    }
    // The bytes variant refuses a short file the same way.
    EXPECT_EQ(LoadWav(Bytes(43, 0), store, wav).result, WavResult::ShorterThanHeader);

    const WavOutcome loaded = LoadWavFile(good, store, wav);
    EXPECT_TRUE(loaded.Ok()) << WavOutcomeText(profile, loaded);
    EXPECT_EQ(store.Area(0)[0], 0xF0);
    EXPECT_EQ(store.slotLength[0], full ? 1 : 64);
    std::filesystem::remove_all(dir);
}

TEST_P(WavIntake, DecodeWritesTheCanonicalHeader) {
    store.currentSlot = 1;
    store.slotLength[1] = 3;
    store.slotRate[1] = full ? 16000 : 22050;
    std::fill_n(store.Area(1).begin(), 3, 0xF0);
    DecodeSlotToWav(store, wav);

    const std::uint32_t rate = store.slotRate[1];
    const auto le32 = [](std::uint32_t v) {
        return Bytes{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                     static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    };
    Bytes want;
    auto add = [&](const Bytes& b) { want.insert(want.end(), b.begin(), b.end()); };
    add({'R', 'I', 'F', 'F'});
    add(le32(24 + 36));
    add({'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 1, 0});
    add(le32(rate));
    add(le32(rate));
    add({1, 0, 8, 0, 'd', 'a', 't', 'a'});
    add(le32(24));
    EXPECT_EQ(Bytes(wav.bytes.begin(), wav.bytes.begin() + 44), want);
    EXPECT_EQ(wav.SoundLength, 24u);

    const int step = profile.codecStep;
    const std::uint8_t first[] = {static_cast<std::uint8_t>(128 + step), static_cast<std::uint8_t>(128 + 4 * step),
                                  static_cast<std::uint8_t>(128 + 3 * step), 128};
    EXPECT_EQ(wav.bytes[44], first[0]);
    EXPECT_EQ(wav.bytes[44 + 3], first[1]);
    EXPECT_EQ(wav.bytes[44 + 4], first[2]);
    EXPECT_EQ(wav.bytes[44 + 7], first[3]);
}

TEST_P(WavIntake, LongSlotDecodesWhatFitsTheBuffer) {
    // 32767 bytes of a slot would need 262136 samples; the buffer holds
    // 32762 (full) or 32007 (compact) bytes' worth behind the header.
    const std::size_t fits = full ? 32762 : 32007;
    store.slotLength[0] = 0x7FFF;
    std::fill(store.Area(0).begin(), store.Area(0).end(), 0x0F);
    DecodeSlotToWav(store, wav);
    EXPECT_EQ(wav.bytes.size(), profile.wavBufferSize);
    EXPECT_EQ(wav.SoundLength, 8 * fits);
    EXPECT_EQ(wav.bytes[40] | wav.bytes[41] << 8 | wav.bytes[42] << 16, static_cast<int>(8 * fits));
    // The last decoded sample sits at the last whole byte's place.
    EXPECT_NE(wav.bytes[44 + 8 * fits - 1], 127);
}

INSTANTIATE_TEST_SUITE_P(Modules, WavIntake, ::testing::Values(ModuleKind::Full, ModuleKind::Compact),
                         [](const auto& info) { return std::string(ProfileFor(info.param).name); });

}  // namespace
}  // namespace korvex
