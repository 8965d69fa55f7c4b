#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>

#include "voice/voice_demo.h"
#include "voice/voice_store.h"
#include "voice/voice_transfer.h"
#include "voice/wav_buffer.h"
#include "voice/wav_intake.h"
#include "sim/simulated_module.h"
#include "voice_wav_maker.h"

namespace korvex {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Memory = std::array<std::uint8_t, SimulatedModule::kSize>;
using test::MakeWav;
using test::Sawtooth;

class RecordingProgress final : public Progress {
public:
    void SetRange(int lo, int hi) override { ranges.emplace_back(lo, hi); }
    void SetPos(int pos) override { positions.push_back(pos); }
    void SetStatus(const std::string& text) override { statuses.push_back(text); }
    void Show() override { visible = true; }
    void Hide() override { visible = false; }
    std::vector<std::pair<int, int>> ranges;
    std::vector<int> positions;
    std::vector<std::string> statuses;
    bool visible = false;
};

// An address range [first, last] that a wait found changed; empty when first > last.
struct WriteRun {
    std::uint32_t first, last;
    bool operator==(const WriteRun&) const = default;
};

// A bus whose every wait records which addresses changed since the one before.
struct RunRecorder {
    explicit RunRecorder(SimulatedModule& s) : sim(s), snapshot(s.Memory()) {}
    void Waited() {
        WriteRun run{1, 0};
        for (std::uint32_t a = 0; a < SimulatedModule::kSize; ++a) {
            if (sim.Memory()[a] == snapshot[a]) continue;
            if (run.first > run.last) run.first = a;
            run.last = a;
        }
        runs.push_back(run);
        snapshot = sim.Memory();
    }
    SimulatedModule& sim;
    Memory snapshot;
    std::vector<WriteRun> runs;
    TwoWireBus bus{sim, [this](std::chrono::microseconds ms) {
                       Waited();
                       sim.Sleeper()(ms);
                   }};
};

class VoiceTransfer : public ::testing::TestWithParam<ModuleKind> {
protected:
    VoiceTransfer() {
        // A module that already carries its marker (and, full, its signature).
        std::copy(profile.marker.begin(), profile.marker.end(), sim.Memory().begin());
        if (profile.checksType)
            std::copy(std::begin(kDeviceTypeSignature), std::end(kDeviceTypeSignature), sim.Memory().begin() + 20);
    }

    // Loads a sawtooth of `samples` samples into `slot`.
    void Load(VoiceStore& s, int slot, std::size_t samples, unsigned seed, std::uint32_t rate = 22050) {
        s.currentSlot = slot;
        WavBuffer w(profile);
        ASSERT_TRUE(LoadWav(MakeWav(Sawtooth(samples, seed), {.rate = rate}), s, w).Ok());
    }

    const Profile& profile = ProfileFor(GetParam());
    bool full = GetParam() == ModuleKind::Full;
    SimulatedModule sim;
    TwoWireBus bus{sim, sim.Sleeper()};
    VoiceStore store{profile};
    WavBuffer wav{profile};
    RecordingProgress progress;
};

TEST_P(VoiceTransfer, WriteAllThenReadAllRoundTrips) {
    // Slot 1 stays empty; the others hold different sawtooths.
    const std::size_t samples[] = {8 * 100 + 3, 0, 8 * 700, 8 * 64, 8 * 5, 8 * 1};
    const std::uint32_t loadRates[] = {22050, 22050, 22050, 16000, 11025, 22050};
    for (int s = 0; s < store.SlotCount(); ++s)
        if (samples[s] > 0) Load(store, s, samples[s], static_cast<unsigned>(s), full ? loadRates[s] : 22050);
    store.currentSlot = 1;
    const Memory before = sim.Memory();

    const VoiceWriteOutcome written = WriteAllSlots(bus, store, progress);
    EXPECT_TRUE(written.Ok());
    EXPECT_TRUE(VoiceWriteMessages(profile, written).empty());
    EXPECT_EQ(store.currentSlot, 1) << "the user's choice survives the write";
    EXPECT_FALSE(progress.visible);

    // Directory: slot 1 is an entry of length 0 at the running start.
    const auto dir = sim.Memory().begin() + profile.directoryAddress;
    const std::size_t entry = static_cast<std::size_t>(profile.directoryEntrySize);
    EXPECT_EQ(dir[entry], 0);
    EXPECT_EQ(dir[entry + 1], 1);
    EXPECT_EQ(dir[entry + 2] | dir[entry + 3] << 8, store.slotStart[0] + store.slotLength[0]);
    if (!full) {
        EXPECT_TRUE(std::all_of(dir + 16, dir + 63, [](std::uint8_t b) { return b == 85; }));
        EXPECT_EQ(dir[63], before[profile.directoryAddress + 63]) << "the filler ends at 830";
    }

    // Only the directory and the slots changed.
    const std::uint32_t dataEnd = profile.voiceStart + store.Used();
    const std::uint32_t dirEnd = profile.directoryAddress + profile.directoryEntries * profile.directoryEntrySize +
                                 profile.directoryFiller;
    for (std::uint32_t a = 0; a < SimulatedModule::kSize; ++a) {
        const bool inside = (a >= profile.directoryAddress && a < dirEnd) || (a >= profile.voiceStart && a < dataEnd);
        if (!inside) {
            ASSERT_EQ(sim.Memory()[a], before[a]) << "address " << a;
        }
    }

    VoiceStore back(profile);
    WavBuffer backWav(profile);
    back.currentSlot = 2;
    ASSERT_TRUE(ReadAllSlots(bus, back, backWav, progress).Ok());
    EXPECT_EQ(back.slotLength, store.slotLength);
    EXPECT_EQ(back.slotStart, store.slotStart);
    // A slot never loaded (rate 0) is stored with code 1 and comes back at 22050.
    auto rates = store.slotRate;
    std::replace(rates.begin(), rates.end(), std::uint16_t{0}, std::uint16_t{22050});
    EXPECT_EQ(back.slotRate, rates);
    for (int s = 0; s < store.SlotCount(); ++s) {
        const auto n = store.slotLength[s];
        EXPECT_TRUE(std::equal(store.Area(s).begin(), store.Area(s).begin() + n, back.Area(s).begin())) << s;
        EXPECT_EQ(back.Area(s)[n], 85) << "read no further than the length";
    }
    EXPECT_EQ(back.currentSlot, 0);
    EXPECT_EQ(backWav.SoundLength, 8u * back.slotLength[0]);
}

TEST_P(VoiceTransfer, WriteFaultIsReportedOnceForItsSlotOnly) {
    Load(store, 0, 8 * 200, 1);
    Load(store, 1, 8 * 300, 2);
    Load(store, 2, 8 * 100, 3);
    // The directory's bytes and slot 0 are stored first; spoil byte 5 of slot 1
    // (the fault counts stored bytes from 1).
    const std::uint64_t dirBytes = full ? 30 : 63;
    sim.GetFaults().flipWriteAt = dirBytes + store.slotLength[0] + 6;

    VoiceWriteOutcome out = WriteAllSlots(bus, store, progress);
    ASSERT_TRUE(out.check.Ok());
    ASSERT_EQ(out.mismatches.size(), 1u);
    EXPECT_EQ(out.mismatches[0].slot, 1);
    EXPECT_EQ(out.mismatches[0].address, store.slotStart[1] + 5u);
    EXPECT_EQ(VoiceWriteMessages(profile, out), std::vector<std::string>{std::string(profile.texts.writeError)});

    // The slot after it was still written and verified.
    EXPECT_TRUE(std::equal(store.Area(2).begin(), store.Area(2).begin() + store.slotLength[2],
                           sim.Memory().begin() + store.slotStart[2]));
    // The status line walked through every slot, writing then checking.
    std::vector<std::string> want;
    for (int s = 1; s <= store.SlotCount(); ++s) {
        want.push_back(std::string(profile.texts.writingSound) + std::to_string(s) + "...");
        want.push_back(std::string(profile.texts.checkingSound) + std::to_string(s) + "...");
    }
    EXPECT_EQ(progress.statuses, want);
    for (int pos : progress.positions) EXPECT_EQ(pos % 64, 0);
}

// A directory byte that does not read back would play a slot from the
// wrong place or at the wrong rate: it is a mismatch, told at once.
TEST_P(VoiceTransfer, DirectoryThatDoesNotReadBackIsAMismatch) {
    Load(store, 0, 8 * 200, 1);
    Load(store, 1, 8 * 100, 2);
    sim.GetFaults().flipWriteAt = 3;  // the directory is stored first
    std::vector<SlotMismatch> told;
    VoiceWriteOutcome out = WriteAllSlots(bus, store, progress, [&](const SlotMismatch& m) { told.push_back(m); });
    ASSERT_TRUE(out.check.Ok());
    ASSERT_EQ(out.mismatches.size(), 1u);
    EXPECT_EQ(out.mismatches[0].slot, SlotMismatch::kDirectorySlot);
    EXPECT_EQ(out.mismatches[0].address, profile.directoryAddress + 2u);
    EXPECT_FALSE(out.Ok());
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].slot, SlotMismatch::kDirectorySlot);
    EXPECT_EQ(VoiceWriteMessages(profile, out), std::vector<std::string>{std::string(profile.texts.writeError)});
    // The slots are still written.
    EXPECT_TRUE(std::equal(store.Area(1).begin(), store.Area(1).begin() + store.slotLength[1],
                           sim.Memory().begin() + store.slotStart[1]));
}

TEST_P(VoiceTransfer, OverfullMemoryIsRefusedBeforeTheBus) {
    // Lengths as a module might report them. The full memory holds 30720
    // bytes from 2048; the compact one 31936 from 832, short of its 32000.
    const std::uint16_t fits = full ? 30720 : 31936;
    for (std::uint16_t total : {static_cast<std::uint16_t>(fits + 1), static_cast<std::uint16_t>(profile.capacity + 64)}) {
        VoiceStore s(profile);
        s.slotLength[0] = total;
        sim.ResetCounters();
        const Memory before = sim.Memory();
        const VoiceWriteOutcome out = WriteAllSlots(bus, s, progress);
        EXPECT_TRUE(out.overMemory) << total;
        EXPECT_EQ(out.used, total);
        EXPECT_EQ(out.room, fits);
        EXPECT_EQ(sim.GetCounters().Total(), 0u) << "not even the module check";
        EXPECT_EQ(sim.Memory(), before);
        const auto lines = VoiceWriteMessages(profile, out);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find(std::to_string(fits)), std::string::npos) << lines[0];
    }
}

TEST_P(VoiceTransfer, AFullMemoryEndsAtItsLastByte) {
    const std::uint16_t fits = full ? 30720 : 31936;
    store.slotLength[store.SlotCount() - 1] = fits;
    auto area = store.Area(store.SlotCount() - 1);
    for (std::size_t i = 0; i < area.size(); ++i) area[i] = static_cast<std::uint8_t>(i * 7 + 1);
    const Memory before = sim.Memory();
    const VoiceWriteOutcome out = WriteAllSlots(bus, store, progress);
    EXPECT_TRUE(out.Ok());
    EXPECT_EQ(sim.Memory()[32767], area[fits - 1]);
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + 64, sim.Memory().begin())) << "marker intact";
}

TEST_P(VoiceTransfer, ModuleChecksStopEverything) {
    store.slotLength[0] = 64;
    sim.GetFaults().absent = true;
    EXPECT_EQ(WriteAllSlots(bus, store, progress).check.result, LinkResult::NotConnected);
    EXPECT_EQ(ReadAllSlots(bus, store, wav, progress).result, LinkResult::NotConnected);
    EXPECT_EQ(store.slotLength[0], 64);
    EXPECT_TRUE(progress.statuses.empty());
}

INSTANTIATE_TEST_SUITE_P(Modules, VoiceTransfer, ::testing::Values(ModuleKind::Full, ModuleKind::Compact),
                         [](const auto& info) { return std::string(ProfileFor(info.param).name); });

TEST(VoiceCompact, TheFourthEntryGoesBackAsRead) {
    const Profile& profile = CompactProfile();
    SimulatedModule sim;
    std::copy(profile.marker.begin(), profile.marker.end(), sim.Memory().begin());
    const Bytes directory = {0x40, 0x01, 0x40, 0x03, 0x00, 0x01, 0x80, 0x03, 0x00, 0x01, 0x80, 0x03,
                             0x21, 0x05, 0x99, 0x12};
    std::copy(directory.begin(), directory.end(), sim.Memory().begin() + 768);
    TwoWireBus bus(sim, sim.Sleeper());
    VoiceStore store(profile);
    WavBuffer wav(profile);
    NullProgress progress;
    ASSERT_TRUE(ReadAllSlots(bus, store, wav, progress).Ok());
    EXPECT_EQ(store.slotLength, (std::vector<std::uint16_t>{64, 0, 0}));
    sim.Fill(0);
    std::copy(profile.marker.begin(), profile.marker.end(), sim.Memory().begin());
    ASSERT_TRUE(WriteAllSlots(bus, store, progress).Ok());
    EXPECT_TRUE(std::equal(directory.begin(), directory.end(), sim.Memory().begin() + 768));
}

// The write of one slot, run by run.
TEST(VoiceSlotWrite, RunsBreakAtEveryPage) {
    struct Case {
        const char* name;
        ModuleKind kind;
        std::uint16_t start, length;
        std::vector<WriteRun> runs;
    };
    const Case cases[] = {
        {"off the grid: a first run of 28", ModuleKind::Full, 2148, 100, {{2148, 2175}, {2176, 2239}, {2240, 2247}}},
        // The last run closes at the page end and the write still ends with Stop and a wait.
        {"whole page", ModuleKind::Full, 2048, 64, {{2048, 2111}, {1, 0}}},
        {"zero length: no data, one wait", ModuleKind::Full, 2048, 0, {{1, 0}}},
        {"compact whole pages", ModuleKind::Compact, 832, 128, {{832, 895}, {896, 959}}},
        // A directory from elsewhere may put a compact slot off the grid.
        {"compact off the grid", ModuleKind::Compact, 900, 64, {{900, 959}, {960, 963}}},
    };
    for (const auto& c : cases) {
        const Profile& profile = ProfileFor(c.kind);
        SimulatedModule sim;
        sim.Fill(0);
        RunRecorder rec(sim);
        VoiceStore store(profile);
        store.slotStart[0] = c.start;
        store.slotLength[0] = c.length;
        for (std::size_t i = 0; i < store.Area(0).size(); ++i) store.Area(0)[i] = static_cast<std::uint8_t>(1 + i % 200);
        RecordingProgress progress;
        EXPECT_TRUE(WriteSlot(rec.bus, store, 0, progress).Ok()) << c.name;
        EXPECT_EQ(rec.runs, c.runs) << c.name;
        EXPECT_EQ(sim.Memory()[c.start + c.length], 0) << c.name;
        EXPECT_EQ(progress.ranges.front(), std::make_pair(0, static_cast<int>(c.length))) << c.name;
    }
}

TEST(VoiceSlotRead, LengthsPastTheCapacityReadTheCapacity) {
    // A directory entry claiming 32767 bytes: kept as read, 30720 bytes moved.
    const Profile& profile = FullProfile();
    SimulatedModule sim;
    std::copy(profile.marker.begin(), profile.marker.end(), sim.Memory().begin());
    std::copy(std::begin(kDeviceTypeSignature), std::end(kDeviceTypeSignature), sim.Memory().begin() + 20);
    const Bytes entry = {0xFF, 0x80, 0x00, 0x08, 2};
    std::copy(entry.begin(), entry.end(), sim.Memory().begin() + 1120);
    for (int k = 1; k < 6; ++k) sim.Memory()[1120 + 5 * k + 1] = 1;  // the others empty
    TwoWireBus bus(sim, sim.Sleeper());
    VoiceStore store(profile);
    WavBuffer wav(profile);
    NullProgress progress;
    ASSERT_TRUE(ReadAllSlots(bus, store, wav, progress).Ok());
    EXPECT_EQ(store.slotLength[0], 32767);
    EXPECT_EQ(store.slotRate[0], 16000);
    EXPECT_EQ(store.Area(0)[30719], sim.Memory()[2048 + 30719]);
    EXPECT_EQ(store.Area(0)[30720], 85);
    // Its decode stops at the buffer's end.
    EXPECT_EQ(wav.SoundLength, 8u * 32762);
}

TEST_P(VoiceTransfer, DemoModuleCarriesOneShortMessage) {
    PutDemoVoice(profile, sim.Memory());
    ASSERT_TRUE(ReadAllSlots(bus, store, wav, progress).Ok());
    const std::size_t encoded = DemoVoiceSamples().size() / 8;
    EXPECT_EQ(store.slotLength[0], full ? encoded : (encoded / 64 + 1) * 64);
    for (int s = 1; s < store.SlotCount(); ++s) EXPECT_EQ(store.slotLength[s], 0) << s;
    EXPECT_EQ(store.slotRate[0], 22050);

    // Played back, the chime follows its source within about a step on average.
    const auto source = DemoVoiceSamples();
    ASSERT_GE(wav.SoundLength, 8 * encoded);
    double error = 0;
    for (std::size_t i = 0; i < 8 * encoded; ++i) error += std::abs(int(wav.bytes[44 + i]) - int(source[i]));
    EXPECT_LT(error / (8 * encoded), 6.0);
}

}  // namespace
}  // namespace korvex
