// write-sound with files that are not yet in the module's format, and speak.
#include <gtest/gtest.h>

#include <cmath>

#include "cli/cli_runner.h"
#include "cli/module_memory.h"
#include "voice/wav_buffer.h"

namespace korvex::test {
namespace {

void Put(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A 16-bit stereo PCM WAV file with a 440 Hz tone, as a phone records.
std::vector<std::uint8_t> PhoneWav(std::uint32_t rate, double seconds) {
    const auto frames = static_cast<std::uint32_t>(rate * seconds);
    std::vector<std::uint8_t> file(kWavHeaderSize + 4 * static_cast<std::size_t>(frames));
    WriteWavHeader(file, rate, 4 * frames);
    Put(file, 22, 2, 2);         // stereo
    Put(file, 28, rate * 4, 4);  // byte rate
    Put(file, 32, 4, 2);         // block align
    Put(file, 34, 16, 2);        // bits
    for (std::uint32_t i = 0; i < frames; ++i) {
        const auto v = static_cast<std::int16_t>(12000 * std::sin(2 * M_PI * 440.0 * i / rate));
        for (int c = 0; c < 2; ++c) Put(file, kWavHeaderSize + 4 * i + 2 * static_cast<std::size_t>(c), static_cast<std::uint16_t>(v), 2);
    }
    return file;
}

std::uint32_t RateOf(const std::vector<std::uint8_t>& wav) {
    return wav.size() < kWavHeaderSize ? 0 : wav[24] | (wav[25] << 8) | (wav[26] << 16);
}

class SoundConversion : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        WriteBytes(At("m.bin"), PreparedMemory(FullProfile()));
        WriteBytes(At("phone.wav"), PhoneWav(44100, 1.0));
    }
};

TEST_F(SoundConversion, APhoneRecordingIsConvertedWithEitherEncoder) {
    std::vector<std::uint8_t> slots[2];
    const char* encoders[] = {"plain", "trellis"};
    for (int i = 0; i < 2; ++i) {
        const CliResult w = Run({"--port", SimPort("m.bin"), "write-sound", "--fresh", "--encoder", encoders[i],
                                 "--slot", "1", At("phone.wav")});
        ASSERT_EQ(w.status, 0) << w.err;
        ASSERT_EQ(Run({"--port", SimPort("m.bin"), "read-sound", "-d", At(encoders[i])}).status, 0);
        slots[i] = ReadBytes(At(std::string(encoders[i]) + "/slot1.wav"));
        EXPECT_EQ(RateOf(slots[i]), 16000u);
        // One second at 16000 Hz, a few samples trimmed at most.
        EXPECT_NEAR(static_cast<double>(slots[i].size() - kWavHeaderSize), 16000.0, 80.0);
    }
    EXPECT_EQ(slots[0].size(), slots[1].size());
    EXPECT_NE(slots[0], slots[1]) << "the encoders choose different bits";

    const CliResult picked = Run({"--port", SimPort("m.bin"), "write-sound", "--fresh", "--rate", "11025", "--slot",
                                  "2", At("phone.wav")});
    ASSERT_EQ(picked.status, 0) << picked.err;
    ASSERT_EQ(Run({"--port", SimPort("m.bin"), "read-sound", "-d", At("picked")}).status, 0);
    EXPECT_EQ(RateOf(ReadBytes(At("picked/slot2.wav"))), 11025u);
}

TEST_F(SoundConversion, ASoundTooLongIsRefusedWithItsLengthOrCut) {
    WriteBytes(At("long.wav"), PhoneWav(22050, 20.0));
    const auto before = ReadBytes(At("m.bin"));
    const CliResult refused = Run({"--port", SimPort("m.bin"), "write-sound", "--fresh", "--slot", "1", At("long.wav")});
    EXPECT_EQ(refused.status, 4);
    EXPECT_EQ(refused.err, At("long.wav").string() +
                               ": Звук длится 20,0 с, а в свободную память помещается 15,4 с. --cut обрезает звук до "
                               "свободной памяти.\n");
    EXPECT_EQ(ReadBytes(At("m.bin")), before);

    const CliResult cut =
        Run({"--port", SimPort("m.bin"), "write-sound", "--fresh", "--cut", "--slot", "1", At("long.wav")});
    ASSERT_EQ(cut.status, 0) << cut.err;
    ASSERT_EQ(Run({"--port", SimPort("m.bin"), "read-sound", "-d", At("out")}).status, 0);
    EXPECT_EQ(ReadBytes(At("out/slot1.wav")).size(), kWavHeaderSize + 8u * (32767 - 2048));
}

TEST_F(SoundConversion, SpeakWritesAFileTheSlotTakesAsItIs) {
    struct Case {
        std::vector<std::string> args;
        std::uint32_t rate;
    };
    const Case cases[] = {
        {{"speak", "Тревога в зоне два", "--lang", "ru", "-o", At("ru.wav")}, 16000},
        {{"speak", "Alarm in zone two", "--lang", "en", "-o", At("en.wav")}, 16000},
        {{"--compact", "speak", "Alarm in zone two", "--lang", "en", "-o", At("compact.wav")}, 22050},
        {{"speak", "Тревога", "--rate", "11025", "-o", At("slow.wav")}, 11025},
    };
    for (const Case& c : cases) {
        const CliResult r = Run(c.args);
        ASSERT_EQ(r.status, 0) << r.err;
        const auto wav = ReadBytes(c.args.back());
        EXPECT_EQ(RateOf(wav), c.rate);
        EXPECT_EQ(wav[22], 1);   // mono
        EXPECT_EQ(wav[34], 8);   // bits
        EXPECT_GT(wav.size(), kWavHeaderSize + c.rate / 4) << "a quarter of a second at least";
    }
    const CliResult w = Run({"--port", SimPort("m.bin"), "write-sound", "--fresh", "--slot", "3", At("ru.wav")});
    EXPECT_EQ(w.status, 0) << w.err;

    const struct {
        std::vector<std::string> args;
        int status;
        std::string err;
    } failures[] = {
        {{"speak", " ", "-o", At("x.wav")}, 1, "Нет текста для озвучивания\n"},
        // Refused before speaking: no slot could hold it.
        {{"--compact", "speak", std::string(100000, 'a'), "--lang", "en", "-o", At("x.wav")},
         4,
         "The text is too long: 100000 characters cannot be spoken in the 11.6 s the memory holds.\n"},
        {{"speak", "text", "--rate", "8000", "-o", At("x.wav")},
         1,
         "Частота дискретизации только 22050, 16000, 11025 Hz\n"},
        {{"--compact", "speak", "text", "--rate", "16000", "-o", At("x.wav")}, 1, "Sample rate only 22050 Hz\n"},
    };
    for (const auto& f : failures) {
        const CliResult r = Run(f.args);
        EXPECT_EQ(r.status, f.status);
        EXPECT_EQ(r.err, f.err);
    }
    EXPECT_FALSE(std::filesystem::exists(At("x.wav")));
    EXPECT_EQ(Run({"speak", "text", "--lang", "de", "-o", At("x.wav")}).status, 1);
}

}  // namespace
}  // namespace korvex::test
