#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "link/device_link.h"
#include "sim/simulated_module.h"

namespace korvex {
namespace {

class RecordingProgress final : public Progress {
public:
    void SetRange(int lo, int hi) { range = {lo, hi}; }
    void SetPos(int pos) { positions.push_back(pos); }
    void SetStatus(const std::string& text) { statuses.push_back(text); }
    void Show() { visible = true; }
    void Hide() { visible = false; }
    std::pair<int, int> range{};
    std::vector<int> positions;
    std::vector<std::string> statuses;
    bool visible = false;
};

std::vector<std::uint8_t> RandomImage(std::size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<std::uint8_t> image(size);
    for (auto& b : image) b = static_cast<std::uint8_t>(rng());
    return image;
}

// A module that already carries its marker (and, full, its signature).
void Prepare(SimulatedModule& sim, const Profile& p) {
    std::copy(p.marker.begin(), p.marker.end(), sim.Memory().begin());
    if (p.checksType) std::copy(std::begin(kDeviceTypeSignature), std::end(kDeviceTypeSignature), sim.Memory().begin() + 20);
}

class BothProfiles : public ::testing::TestWithParam<ModuleKind> {
protected:
    const Profile& profile = ProfileFor(GetParam());
    SimulatedModule sim;
    int waits = 0;
    TwoWireBus bus{sim, [this](std::chrono::microseconds ms) {
                       ++waits;
                       sim.Sleeper()(ms);
                   }};
};

TEST_P(BothProfiles, WriteThenReadRoundTripsTheImage) {
    Prepare(sim, profile);
    auto image = RandomImage(profile.imageSize, 7);
    std::copy(profile.marker.begin(), profile.marker.end(), image.begin());
    if (profile.checksType) std::copy(sim.Memory().begin() + 16, sim.Memory().begin() + 24, image.begin() + 16);
    const auto before = sim.Memory();

    RecordingProgress progress;
    ASSERT_TRUE(CheckModule(bus, profile).Ok());
    waits = 0;
    const LinkOutcome written = WriteDataToModule(bus, profile, image, progress);
    EXPECT_TRUE(written.Ok());
    EXPECT_FALSE(progress.visible);

    std::vector<std::uint8_t> back(profile.imageSize, 0xAA);
    ASSERT_TRUE(ReadDataFromModule(bus, profile, back, progress).Ok());
    EXPECT_EQ(back, image);
    // Nothing outside the image changed.
    EXPECT_TRUE(std::equal(before.begin() + profile.imageSize, before.end(), sim.Memory().begin() + profile.imageSize));
}

TEST_P(BothProfiles, WriteRunsAndWaits) {
    Prepare(sim, profile);
    auto image = RandomImage(profile.imageSize, 3);
    std::copy(profile.marker.begin(), profile.marker.end(), image.begin());
    const auto before = sim.Memory();
    NullProgress progress;
    WriteConfig(bus, profile, image, progress);
    // Full: 24..63, sixteen whole pages, 1088..1119. Compact: twelve whole pages.
    const int runs = profile.kind == ModuleKind::Full ? 18 : 12;
    EXPECT_EQ(waits, runs);
    EXPECT_EQ(sim.WriteCycles(), static_cast<std::uint64_t>(runs));
    if (profile.kind == ModuleKind::Full) {
        // The marker, version and signature are never written.
        EXPECT_TRUE(std::equal(before.begin(), before.begin() + 24, sim.Memory().begin()));
        EXPECT_TRUE(std::equal(image.begin() + 24, image.end(), sim.Memory().begin() + 24));
    }
}

TEST_P(BothProfiles, ProgressFollowsTheBarSteps) {
    Prepare(sim, profile);
    std::vector<std::uint8_t> image(profile.imageSize);
    RecordingProgress progress;
    ReadConfig(bus, profile, image, progress);
    EXPECT_EQ(progress.range, std::make_pair(0, profile.readBarMax));
    ASSERT_EQ(progress.statuses.size(), 1u);
    EXPECT_EQ(progress.statuses[0], profile.texts.readingConfig);
    const int step = profile.readBarStep;
    for (int pos : progress.positions) EXPECT_EQ(pos % step, 0);
    // Every step position once, then back to 0.
    EXPECT_EQ(progress.positions.size(), static_cast<std::size_t>(1 + (profile.imageSize + step - 1) / step + 1));
}

TEST_P(BothProfiles, BlankModuleGetsItsMarkerOnceAndNothingElse) {
    const LinkOutcome first = CheckModule(bus, profile);
    if (profile.checksType) EXPECT_EQ(first.result, LinkResult::UnknownType);
    else EXPECT_TRUE(first.Ok());
    EXPECT_TRUE(std::equal(profile.marker.begin(), profile.marker.end(), sim.Memory().begin()));
    EXPECT_TRUE(std::all_of(sim.Memory().begin() + profile.marker.size(), sim.Memory().end(),
                            [](auto b) { return b == 0xFF; }));
    const auto cycles = sim.WriteCycles();
    EXPECT_TRUE(IdentifyDevice(bus, profile).Ok());
    EXPECT_EQ(sim.WriteCycles(), cycles);  // found at once, not written again
}

// First contact writes the marker only where the memory is blank: the other
// program's module and a damaged marker are told and left as they are,
// whatever the check runs for; a damaged marker is written over only when
// the user allowed it, the other program's never.
TEST_P(BothProfiles, AMarkerIsWrittenOnlyIntoABlankMemoryOrWhereAllowed) {
    const Profile& other = ProfileFor(GetParam() == ModuleKind::Full ? ModuleKind::Compact : ModuleKind::Full);
    struct Case {
        const char* name;
        std::function<void(SimulatedModule&)> arrange;
        LinkResult found;    // BlankOnly: nothing written unless Ok
        bool allowedWrites;  // OverDamaged writes this program's marker
    };
    const Case cases[] = {
        {"the other program's module", [&](SimulatedModule& m) { Prepare(m, other); }, LinkResult::OtherProgram, false},
        {"a marker one bit off",
         [&](SimulatedModule& m) {
             Prepare(m, profile);
             m.Memory()[3] ^= 0x01;
         },
         LinkResult::DamagedMarker, true},
        {"zeros where the marker goes",
         [&](SimulatedModule& m) { std::fill_n(m.Memory().begin(), profile.marker.size(), 0x00); },
         LinkResult::DamagedMarker, true},
        {"blank but for the marker's last byte",
         [&](SimulatedModule& m) { m.Memory()[profile.marker.size() - 1] = 0x0A; }, LinkResult::DamagedMarker, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedModule module;
        TwoWireBus link(module, module.Sleeper());
        c.arrange(module);
        const auto before = module.Memory();
        std::vector<std::uint8_t> image(profile.imageSize);
        NullProgress progress;
        EXPECT_EQ(CheckModule(link, profile).result, c.found);
        EXPECT_EQ(ReadDataFromModule(link, profile, image, progress).result, c.found);
        EXPECT_EQ(IdentifyDevice(link, profile, MarkerWrite::BlankOnly).result, c.found);
        EXPECT_TRUE(module.Memory() == before);
        EXPECT_EQ(module.WriteCycles(), 0u);

        const LinkOutcome allowed = IdentifyDevice(link, profile, MarkerWrite::OverDamaged);
        if (c.allowedWrites) {
            EXPECT_TRUE(allowed.Ok());
            EXPECT_TRUE(std::equal(profile.marker.begin(), profile.marker.end(), module.Memory().begin()));
            EXPECT_TRUE(std::equal(before.begin() + static_cast<std::ptrdiff_t>(profile.marker.size()), before.end(),
                                   module.Memory().begin() + static_cast<std::ptrdiff_t>(profile.marker.size())));
        } else {
            EXPECT_EQ(allowed.result, c.found);
            EXPECT_TRUE(module.Memory() == before);
        }
        EXPECT_FALSE(OutcomeText(profile, {c.found}).empty());
    }
}

TEST_P(BothProfiles, NoModuleOnTheCable) {
    sim.GetFaults().absent = true;
    std::vector<std::uint8_t> image(profile.imageSize);
    NullProgress progress;
    EXPECT_EQ(ReadDataFromModule(bus, profile, image, progress).result, LinkResult::NotConnected);
    EXPECT_EQ(OutcomeText(profile, {LinkResult::NotConnected}), profile.texts.notConnected);
}

TEST_P(BothProfiles, VerifyReportsTheFirstDifferenceOnce) {
    Prepare(sim, profile);
    auto image = RandomImage(profile.imageSize, 11);
    std::copy(profile.marker.begin(), profile.marker.end(), image.begin());
    sim.GetFaults().flipWriteAt = 100;  // the 100th byte stored
    RecordingProgress progress;
    const LinkOutcome outcome = WriteDataToModule(bus, profile, image, progress);
    ASSERT_EQ(outcome.result, LinkResult::Mismatch);
    EXPECT_EQ(outcome.address, profile.writeFrom + 99);
    EXPECT_EQ(OutcomeText(profile, outcome), profile.texts.writeError);
}

// A write that says Ok leaves every byte it sends in the module, the last
// ones too (the compact 766..767 lie past the module program's own check);
// one that cannot says where. A bit flipped while a byte is stored, and a
// backup wrong about what the module holds, which the fast write trusts and
// so does not write.
TEST_P(BothProfiles, AWriteLeavesEveryByteItSendsOrSaysWhere) {
    struct Case {
        const char* name;
        BusTiming timing;
        std::size_t at;    // image offset of the fault
        bool staleBackup;  // false: a bit flipped while `at` is stored
        LinkResult expected;
    };
    const std::size_t last = profile.imageSize - 1;
    const Case cases[] = {
        {"standard, flipped last byte", BusTiming::Spec, last, false, LinkResult::Mismatch},
        {"standard, flipped last but one", BusTiming::Spec, last - 1, false, LinkResult::Mismatch},
        {"fast, flipped last byte", BusTiming::Fast, last, false, LinkResult::Ok},  // written again, then right
        {"fast, backup wrong at the last byte", BusTiming::Fast, last, true, LinkResult::Ok},
        {"fast, backup wrong at the last but one", BusTiming::Fast, last - 1, true, LinkResult::Ok},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedModule module;
        TwoWireBus link(module, module.Sleeper(), module.Clock());
        link.SetTiming(c.timing);
        Prepare(module, profile);
        auto image = RandomImage(profile.imageSize, 5);
        std::copy(profile.marker.begin(), profile.marker.end(), image.begin());
        std::copy(module.Memory().begin(), module.Memory().begin() + profile.writeFrom, image.begin());
        std::vector<std::uint8_t> known;
        if (c.staleBackup) {
            // The module holds the image but for one byte; the backup says it holds it all.
            std::copy(image.begin(), image.end(), module.Memory().begin());
            module.Memory()[c.at] ^= 0x40;
            known = image;
        } else {
            module.GetFaults().flipWriteAt = c.at - profile.writeFrom + 1;  // every byte is stored in order
        }
        NullProgress progress;
        const LinkOutcome outcome = WriteDataToModule(link, profile, image, progress, known);
        EXPECT_EQ(outcome.result, c.expected);
        if (outcome.Ok()) {
            EXPECT_TRUE(std::equal(image.begin() + static_cast<std::ptrdiff_t>(profile.writeFrom), image.end(),
                                   module.Memory().begin() + static_cast<std::ptrdiff_t>(profile.writeFrom)));
        } else {
            EXPECT_EQ(outcome.address, c.at);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Modules, BothProfiles, ::testing::Values(ModuleKind::Full, ModuleKind::Compact),
                         [](const auto& info) { return std::string(ProfileFor(info.param).name); });

TEST(DeviceLink, OtherSignatureIsAnUnknownTypeAndTouchesNothing) {
    SimulatedModule sim;
    TwoWireBus bus(sim, sim.Sleeper());
    const Profile& p = FullProfile();
    Prepare(sim, p);
    sim.Memory()[23] = 0x00;
    const auto before = sim.Memory();
    std::vector<std::uint8_t> image(p.imageSize);
    NullProgress progress;
    EXPECT_EQ(ReadDataFromModule(bus, p, image, progress).result, LinkResult::UnknownType);
    EXPECT_EQ(sim.Memory(), before);
}

TEST(DeviceLink, WriteProtectedModuleFailsVerification) {
    SimulatedModule sim;
    TwoWireBus bus(sim, sim.Sleeper());
    const Profile& p = FullProfile();
    Prepare(sim, p);
    sim.GetFaults().writeProtect = true;
    std::vector<std::uint8_t> image(p.imageSize, 0x00);
    NullProgress progress;
    const LinkOutcome outcome = WriteDataToModule(bus, p, image, progress);
    EXPECT_EQ(outcome.result, LinkResult::Mismatch);
    EXPECT_EQ(outcome.address, 24u);
}

TEST(DeviceLink, CallCountsOfAFullConfigurationCycle) {
    SimulatedModule sim;
    TwoWireBus bus(sim, sim.Sleeper());
    const Profile& p = FullProfile();
    Prepare(sim, p);
    std::vector<std::uint8_t> image(p.imageSize, 0);
    NullProgress progress;
    const std::uint64_t start = 12, stop = 9, wb = 84, ack = 74, nack = 68;
    const std::uint64_t readHeader = start + 3 * wb + start + wb;

    sim.ResetCounters();
    ReadConfig(bus, p, image, progress);
    EXPECT_EQ(sim.GetCounters().Total(), readHeader + 1120 * ack + nack + stop);

    sim.ResetCounters();
    WriteConfig(bus, p, image, progress);
    EXPECT_EQ(sim.GetCounters().Total(), 18 * (start + 3 * wb + stop) + 1096 * wb);

    sim.ResetCounters();
    EXPECT_TRUE(VerifyConfig(bus, p, image, progress).Ok());
    EXPECT_EQ(sim.GetCounters().Total(), readHeader + 1096 * ack + nack + stop);
}

}  // namespace
}  // namespace korvex
