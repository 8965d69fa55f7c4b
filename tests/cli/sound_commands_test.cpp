// read-sound and write-sound.
#include <gtest/gtest.h>

#include <cmath>

#include "cli/cli_runner.h"
#include "cli/module_memory.h"
#include "voice/voice_store.h"
#include "voice/wav_buffer.h"
#include "voice/wav_intake.h"

namespace korvex::test {
namespace {

// An 8-bit mono WAV file with a tone of n samples.
std::vector<std::uint8_t> ToneWav(std::uint32_t rate, std::uint32_t n, double hz) {
    std::vector<std::uint8_t> file(kWavHeaderSize + n);
    WriteWavHeader(file, rate, n);
    for (std::uint32_t i = 0; i < n; ++i)
        file[kWavHeaderSize + i] = static_cast<std::uint8_t>(128 + 90 * std::sin(2 * M_PI * hz * i / rate));
    return file;
}

// What read-sound should give for a slot holding this WAV file.
std::vector<std::uint8_t> DecodedAsStored(const Profile& profile, const std::vector<std::uint8_t>& file) {
    VoiceStore store(profile);
    WavBuffer wav(profile);
    EXPECT_TRUE(LoadWav(file, store, wav).Ok());
    DecodeSlotToWav(store, wav);
    return {wav.bytes.begin(), wav.bytes.begin() + kWavHeaderSize + wav.SoundLength};
}

class SoundCommands : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        WriteBytes(At("m.bin"), PreparedMemory(FullProfile()));  // its directory is erased
        WriteBytes(At("c.bin"), PreparedMemory(CompactProfile()));
        toneA_ = ToneWav(22050, 6000, 440);
        toneB_ = ToneWav(11025, 3000, 660);
        WriteBytes(At("a.wav"), toneA_);
        WriteBytes(At("b.wav"), toneB_);
    }
    std::vector<std::uint8_t> toneA_, toneB_;
};

TEST_F(SoundCommands, ErasedDirectoryIsReportedUnlessFresh) {
    const auto before = ReadBytes(At("m.bin"));
    const CliResult refused = Run({"--port", SimPort("m.bin"), "write-sound", "--slot", "1", At("a.wav")});
    EXPECT_EQ(refused.status, 2);
    EXPECT_TRUE(refused.err.starts_with("Длины звуков в модуле не помещаются в память")) << refused.err;
    EXPECT_EQ(ReadBytes(At("m.bin")), before);

    const CliResult fresh = Run({"--port", SimPort("m.bin"), "write-sound", "--fresh", "--slot", "1", At("a.wav")});
    EXPECT_EQ(fresh.status, 0) << fresh.err;
    EXPECT_NE(ReadBytes(At("m.bin")), before);
}

TEST_F(SoundCommands, SlotsNotNamedKeepTheirMessages) {
    ASSERT_EQ(Run({"--port", SimPort("m.bin"), "write-sound", "--fresh", "--slot", "1", At("a.wav")}).status, 0);
    ASSERT_EQ(Run({"--port", SimPort("m.bin"), "write-sound", "--slot", "3", At("b.wav")}).status, 0);

    const CliResult r = Run({"--port", SimPort("m.bin"), "read-sound", "-d", At("out")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadBytes(At("out/slot1.wav")), DecodedAsStored(FullProfile(), toneA_));
    EXPECT_EQ(ReadBytes(At("out/slot3.wav")), DecodedAsStored(FullProfile(), toneB_));
    for (const char* empty : {"out/slot2.wav", "out/slot4.wav", "out/slot5.wav", "out/slot6.wav"})
        EXPECT_EQ(std::filesystem::file_size(At(empty)), kWavHeaderSize) << empty;
    EXPECT_FALSE(std::filesystem::exists(At("out/slot7.wav")));
}

// A misread bit in a kept slot would be written back into it: the two reads
// disagree and nothing is written.
TEST_F(SoundCommands, KeptSlotsThatReadDifferentlyStopTheWrite) {
    ASSERT_EQ(Run({"--port", SimPort("m.bin"), "write-sound", "--fresh", "--slot", "1", At("a.wav")}).status, 0);
    const auto before = ReadBytes(At("m.bin"));
    // The checks and the directory come first; the 300th byte read is inside slot 1.
    const CliResult r =
        Run({"--port", SimPort("m.bin"), "--sim-fault", "flip-read:300", "write-sound", "--slot", "3", At("b.wav")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Два чтения звука не совпали, ничего не записано; повторите запись. Звук 1\n");
    EXPECT_EQ(ReadBytes(At("m.bin")), before);
}

TEST_F(SoundCommands, CompactModuleHasThreeSlots) {
    const CliResult w = Run({"--compact", "--port", SimPort("c.bin"), "write-sound", "--fresh", "--slot", "3",
                             At("a.wav"), "--slot", "1", At("a.wav")});
    ASSERT_EQ(w.status, 0) << w.err;
    const CliResult r = Run({"--compact", "--port", SimPort("c.bin"), "read-sound", "-d", At("out")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadBytes(At("out/slot1.wav")), DecodedAsStored(CompactProfile(), toneA_));
    EXPECT_EQ(ReadBytes(At("out/slot3.wav")), ReadBytes(At("out/slot1.wav")));
    EXPECT_FALSE(std::filesystem::exists(At("out/slot4.wav")));
    // A rate the compact program does not take is converted to 22050 Hz.
    const CliResult converted =
        Run({"--compact", "--port", SimPort("c.bin"), "write-sound", "--slot", "2", At("b.wav")});
    EXPECT_EQ(converted.status, 0) << converted.err;
    ASSERT_EQ(Run({"--compact", "--port", SimPort("c.bin"), "read-sound", "-d", At("out")}).status, 0);
    const auto slot2 = ReadBytes(At("out/slot2.wav"));
    ASSERT_GT(slot2.size(), kWavHeaderSize);
    EXPECT_EQ(slot2[24] | (slot2[25] << 8), 22050);
    // 3000 samples at 11025 Hz are about 6000 at 22050, in whole pages.
    EXPECT_NEAR(static_cast<double>(slot2.size() - kWavHeaderSize), 6000.0, 8 * 64.0);
}

TEST_F(SoundCommands, VerifyMismatchNamesTheSlot) {
    ASSERT_EQ(Run({"--port", SimPort("m.bin"), "write-sound", "--fresh", "--slot", "2", At("b.wav")}).status, 0);
    // 30 directory bytes, then slot 2 from address 2048 (slot 1 is empty):
    // the 40th byte stored is the slot's tenth.
    const CliResult r = Run({"--port", SimPort("m.bin"), "--sim-fault", "flip-write:40", "write-sound", "--slot", "2",
                             At("b.wav")});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "Ошибка записи! (звук 2, адрес 2057)\n");
}

TEST_F(SoundCommands, DirectoryMismatchIsAVerifyFailure) {
    // The directory is stored first.
    const CliResult r =
        Run({"--port", SimPort("m.bin"), "--sim-fault", "flip-write:3", "write-sound", "--fresh", "--slot", "2", At("b.wav")});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "Ошибка записи! (каталог звуков, адрес " + std::to_string(FullProfile().directoryAddress + 2) + ")\n");
}

TEST_F(SoundCommands, FailuresEndWithTheirStatusAndLeaveTheModuleAlone) {
    WriteBytes(At("short.wav"), std::vector<std::uint8_t>(20, 0));
    auto noFormat = toneA_;
    noFormat[12] = 'F';
    WriteBytes(At("noformat.wav"), noFormat);
    WriteBytes(At("long.wav"), ToneWav(16000, 245760, 440));  // 30720 bytes encoded; a slot takes 30719
    const auto before = ReadBytes(At("m.bin"));
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string errStart;
    };
    const std::string port = SimPort("m.bin");
    const Case cases[] = {
        {{"--port", port, "write-sound", "--fresh", "--slot", "7", At("a.wav")},
         1,
         "--slot: номер звука вне диапазона 1..6: 7"},
        {{"--port", port, "write-sound", "--fresh", "--slot", "0", At("a.wav")},
         1,
         "--slot: номер звука вне диапазона"},
        {{"--port", port, "write-sound", "--fresh", "--slot", "2", At("a.wav"), "--slot", "2", At("b.wav")},
         1,
         "--slot: звук указан дважды: 2"},
        {{"--port", port, "write-sound", "--fresh"}, 1, "Ошибка в командной строке: "},
        {{"--port", port, "write-sound", "--fresh", "--slot", "1", At("none.wav")}, 4, "Не удалось открыть файл: "},
        {{"--port", port, "write-sound", "--fresh", "--slot", "1", At("short.wav")},
         4,
         At("short.wav").string() + ": "},
        {{"--port", port, "write-sound", "--fresh", "--slot", "1", At("noformat.wav")},
         4,
         At("noformat.wav").string() + ": Неизвестный формат"},
        {{"--port", port, "write-sound", "--fresh", "--slot", "1", "/dev/zero"},
         4,
         "/dev/zero: Не удалось прочитать звук из файла ("},
        {{"--port", port, "write-sound", "--fresh", "--encoder", "best", "--slot", "1", At("a.wav")},
         1,
         "Ошибка в командной строке: "},
        {{"--port", port, "write-sound", "--fresh", "--rate", "8000", "--slot", "1", At("a.wav")},
         1,
         "--rate: Частота дискретизации только 22050, 16000, 11025 Hz"},
        // A file in the module's format is taken as it is or refused, never converted to fit.
        {{"--port", port, "write-sound", "--fresh", "--slot", "1", At("long.wav")},
         4,
         At("long.wav").string() + ": Звук длится 15,4 с (30720 байт), а в свободную память помещается 15,4 с "
                                   "(30719 байт). --cut обрезает звук до свободной памяти."},
        // 0 is no rate, not the default one.
        {{"--port", port, "write-sound", "--fresh", "--rate", "0", "--slot", "1", At("a.wav")},
         1,
         "--rate: Частота дискретизации только 22050, 16000, 11025 Hz"},
        {{"speak", "Тревога", "--rate", "0", "-o", At("s.wav")}, 1, "Частота дискретизации только"},
        {{"--port", port, "--sim-fault", "absent", "write-sound", "--fresh", "--slot", "1", At("a.wav")},
         2,
         "Устройство не подключено"},
        {{"--port", port, "--sim-fault", "absent", "read-sound", "-d", At("out")}, 2, "Устройство не подключено"},
        {{"--port", port, "read-sound", "-d", At("a.wav")}, 4, "Не удалось создать файл: "},
    };
    for (const Case& c : cases) {
        const CliResult r = Run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.back() << ": " << r.err;
        EXPECT_TRUE(r.err.starts_with(c.errStart)) << r.err;
    }
    EXPECT_EQ(ReadBytes(At("m.bin")), before);
    EXPECT_FALSE(std::filesystem::exists(At("out/slot1.wav")));
    EXPECT_FALSE(std::filesystem::exists(At("s.wav")));
}

}  // namespace
}  // namespace korvex::test
