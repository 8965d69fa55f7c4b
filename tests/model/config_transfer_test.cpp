#include "model/config_transfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "model/image_codec.h"
#include "model/image_layout.h"
#include "model/sample_settings.h"
#include "sim/demo.h"
#include "sim/simulated_module.h"

namespace korvex::test {
namespace {

constexpr Date kDay{2026, 12, 10};

class ConfigTransfer : public ::testing::TestWithParam<const Profile*> {
protected:
    void SetUp() override { sim->Memory() = MakeDemoMemory(profile); }
    std::vector<std::uint8_t> Held() const {
        return {sim->Memory().begin(), sim->Memory().begin() + static_cast<std::ptrdiff_t>(profile.imageSize)};
    }

    const Profile& profile = *GetParam();
    std::unique_ptr<SimulatedModule> sim = std::make_unique<SimulatedModule>();
    TwoWireBus bus{*sim, sim->Sleeper(), sim->Clock()};
    NullProgress progress;
};

TEST_P(ConfigTransfer, ReadsEditsWritesAndReadsBackTheSettings) {
    ModuleConfig module;
    ASSERT_TRUE(ReadSettingsFromModule(bus, profile, progress, module).Ok());
    EXPECT_EQ(module.image, Held());
    EXPECT_EQ(module.settings, DemoSettings(profile));

    ConfigSettings edited = EveryField(profile);
    std::vector<std::uint8_t> writeImage, held = module.image;
    ASSERT_TRUE(WriteSettingsToModule(bus, profile, edited, module.image, kDay, writeImage, held, progress).Ok());
    EXPECT_EQ(writeImage, Held());
    EXPECT_EQ(held, writeImage);  // every byte written was read back
    if (profile.checksType) {
        // The module keeps its own program version and signature; the image is dated.
        EXPECT_TRUE(std::equal(module.image.begin() + layout::kVersion, module.image.begin() + 24,
                               writeImage.begin() + layout::kVersion));
        const auto date = DateBytes(kDay);
        EXPECT_TRUE(std::equal(date.begin(), date.end(), sim->Memory().begin() + layout::kDate));
    }

    ModuleConfig again;
    ASSERT_TRUE(ReadSettingsFromModule(bus, profile, progress, again).Ok());
    ConfigSettings expected = EveryField(profile);
    expected.comSpeed = ConfigSettings().comSpeed;  // held with the settings, not in the image
    EXPECT_EQ(again.settings, expected);
}

// A failed read leaves what the caller had; a failed write leaves nothing
// believed held, whatever was known before it.
TEST_P(ConfigTransfer, FailuresLeaveTheReadAloneAndTrustNothingWritten) {
    struct Case {
        const char* name;
        void (*arrange)(SimulatedModule&);
        LinkResult read, write;
    };
    const Case cases[] = {
        {"no module", [](SimulatedModule& s) { s.GetFaults().absent = true; }, LinkResult::NotConnected,
         LinkResult::NotConnected},
        {"write-protected", [](SimulatedModule& s) { s.GetFaults().writeProtect = true; }, LinkResult::Ok,
         LinkResult::Mismatch},
    };
    for (const Case& c : cases) {
        SetUp();
        sim->GetFaults() = {};
        c.arrange(*sim);
        ModuleConfig kept;
        kept.image = {1, 2, 3};
        kept.settings.pgmPassword = "kept";
        const ConfigSettings before = kept.settings;
        EXPECT_EQ(ReadSettingsFromModule(bus, profile, progress, kept).result, c.read) << c.name;
        if (c.read != LinkResult::Ok) {
            EXPECT_EQ(kept.image, (std::vector<std::uint8_t>{1, 2, 3})) << c.name;
            EXPECT_EQ(kept.settings, before) << c.name;
        }
        ConfigSettings edited = EveryField(profile);
        std::vector<std::uint8_t> writeImage, held = Held();
        EXPECT_EQ(WriteSettingsToModule(bus, profile, edited, Held(), kDay, writeImage, held, progress).result, c.write)
            << c.name;
        EXPECT_TRUE(held.empty()) << c.name;
    }
}

// With the fast timing a write from what a read left writes only what
// differs; a backup's date is never trusted to be what the module stored.
TEST_P(ConfigTransfer, TheFastWriteSkipsWhatTheModuleHolds) {
    bus.SetTiming(BusTiming::Fast);
    ModuleConfig module;
    ASSERT_TRUE(ReadSettingsFromModule(bus, profile, progress, module).Ok());
    std::vector<std::uint8_t> held = module.image, writeImage;
    module.settings.pgmPassword = "7777";

    const auto cyclesOf = [&](std::vector<std::uint8_t>& known) {
        const std::uint64_t before = sim->WriteCycles();
        ConfigSettings settings = module.settings;
        EXPECT_TRUE(
            WriteSettingsToModule(bus, profile, settings, module.image, kDay, writeImage, known, progress).Ok());
        return sim->WriteCycles() - before;
    };
    const bool dated = profile.kind == ModuleKind::Full;
    EXPECT_EQ(cyclesOf(held), dated ? 2u : 1u);  // the field's run, and the date's
    EXPECT_EQ(cyclesOf(held), 0u);               // the same again: all of it held
    std::vector<std::uint8_t> backup = HeldFromBackup(profile, writeImage, kDay);
    EXPECT_EQ(cyclesOf(backup), dated ? 1u : 0u);  // the date's run; a backup vouches for every byte
    std::vector<std::uint8_t> nothing;
    EXPECT_EQ(cyclesOf(nothing), ConfigRuns(profile).size());
}

TEST_P(ConfigTransfer, ReadsTheProgramVersionWhereTheModuleHasOne) {
    EXPECT_EQ(ReadProgramVersion(bus, profile), profile.checksType ? "1.04" : "");
}

INSTANTIATE_TEST_SUITE_P(BothModules, ConfigTransfer, ::testing::Values(&FullProfile(), &CompactProfile()),
                         [](const auto& info) { return info.param->kind == ModuleKind::Full ? "Full" : "Compact"; });

}  // namespace
}  // namespace korvex::test
