#include <gtest/gtest.h>

#include "link/device_link.h"
#include "voice/voice_transfer.h"
#include "voice/voice_store.h"
#include "voice/wav_buffer.h"
#include "log/log_transfer.h"
#include "model/image_codec.h"
#include "sim/demo.h"
#include "sim/simulated_module.h"

namespace korvex {
namespace {

// The demo module answers every button as a real one would.
class DemoModule : public ::testing::TestWithParam<ModuleKind> {
protected:
    const Profile& profile = ProfileFor(GetParam());
    SimulatedModule sim;
    TwoWireBus bus{sim, sim.Sleeper()};
    NullProgress progress;
    void SetUp() override { sim.Memory() = MakeDemoMemory(profile); }
};

TEST_P(DemoModule, ReadDataGivesTheSampleConfiguration) {
    std::vector<std::uint8_t> image(profile.imageSize);
    ASSERT_TRUE(ReadDataFromModule(bus, profile, image, progress).Ok());
    ConfigSettings read;
    UnpackImage(profile, image, read);
    ConfigSettings expected = DemoSettings(profile);
    std::vector<std::uint8_t> scratch(profile.imageSize);
    PackImage(profile, expected, {}, scratch, Date{2026, 1, 15});  // compacts as a save would
    UnpackImage(profile, scratch, expected);
    EXPECT_EQ(read, expected);
    if (profile.kind == ModuleKind::Full) {
        EXPECT_EQ(std::string(image.begin() + 16, image.begin() + 20), "1.04");
    }
}

TEST_P(DemoModule, CarriesOneShortVoiceMessage) {
    VoiceStore store(profile);
    WavBuffer wav(profile);
    ASSERT_TRUE(ReadAllSlots(bus, store, wav, progress).Ok());
    EXPECT_GT(store.slotLength[0], 0);
    for (int slot = 1; slot < store.SlotCount(); ++slot) EXPECT_EQ(store.slotLength[slot], 0) << slot;
}

TEST_P(DemoModule, FullModuleCarriesLogRecords) {
    std::vector<LogRecord> records;
    const LinkOutcome outcome = ReadLog(bus, profile, progress, records);
    if (!profile.hasLog) {
        EXPECT_FALSE(outcome.Ok());
        return;
    }
    ASSERT_TRUE(outcome.Ok());
    EXPECT_GE(records.size(), 5u);
}

INSTANTIATE_TEST_SUITE_P(Modules, DemoModule, ::testing::Values(ModuleKind::Full, ModuleKind::Compact),
                         [](const auto& info) { return std::string(ProfileFor(info.param).name); });

}  // namespace
}  // namespace korvex
