// Host cost of the configuration model: decoding and building a whole image
// (a module read or a project load does one; a write or save one more), the
// code page 1251 converter on a page's worth of text, and a project save,
// which includes the flush to the disk that keeps the old file safe.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "model/cp1251.h"
#include "model/image_codec.h"
#include "model/project_file.h"

namespace korvex {
namespace {

// Every text slot full, every action and name set.
ConfigSettings BusySettings(const Profile& profile) {
    ConfigSettings s;
    for (int n = 0; n < kPhoneCount; ++n) s.phones[n] = "+7903123456" + std::to_string(n);
    for (int n = 0; n < kTextSlots; ++n) {
        s.cyrillic[n] = n % 2 == 1;
        s.texts[n] = std::string(static_cast<std::size_t>(TextLimit(s.cyrillic[n])), s.cyrillic[n] ? '\xC0' : 'a');
    }
    s.smscNumber = "+79168999100";
    s.pgmPassword = "0123456789";
    for (auto& group : s.zoneActions) group = {0x11, 0x22, 0x33, 0x44, 0x15, 0x26, 0x37, 0x18};
    if (profile.kind == ModuleKind::Full) {
        s.objectName = std::string(24, 'N');
        for (auto& z : s.zoneNames) z = {"ZoneNameXY", 3};
        for (auto& p : s.partitionNames) p = {"Partition1", 2};
        for (auto& u : s.userNames) u = "UserName12";
    }
    return s;
}

const Profile& ProfileArg(const benchmark::State& state) {
    return state.range(0) == 0 ? FullProfile() : CompactProfile();
}

void BM_UnpackImage(benchmark::State& state) {
    const Profile& profile = ProfileArg(state);
    ConfigSettings settings = BusySettings(profile);
    std::vector<std::uint8_t> image(profile.imageSize);
    PackImage(profile, settings, {}, image, Date{2025, 1, 1});
    for (auto _ : state) {
        ConfigSettings out;
        UnpackImage(profile, image, out);
        benchmark::DoNotOptimize(out);
    }
    state.SetLabel(std::string(profile.name));
}
BENCHMARK(BM_UnpackImage)->Arg(0)->Arg(1);

void BM_PackImage(benchmark::State& state) {
    const Profile& profile = ProfileArg(state);
    ConfigSettings settings = BusySettings(profile);
    std::vector<std::uint8_t> image(profile.imageSize);
    for (auto _ : state) {
        PackImage(profile, settings, {}, image, Date{2025, 1, 1});
        benchmark::DoNotOptimize(image.data());
    }
    state.SetLabel(std::string(profile.name));
}
BENCHMARK(BM_PackImage)->Arg(0)->Arg(1);

void BM_Utf8ToCp1251(benchmark::State& state) {
    const std::string utf8 = Cp1251ToUtf8(std::string(31, '\xC0') + std::string(68, 'a') + "\xA8\xB9");
    for (auto _ : state) benchmark::DoNotOptimize(Utf8ToCp1251(utf8));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * utf8.size()));
}
BENCHMARK(BM_Utf8ToCp1251);

void BM_SaveProject(benchmark::State& state) {
    const Profile& profile = FullProfile();
    ConfigSettings settings = BusySettings(profile);
    std::vector<std::uint8_t> readImage(profile.imageSize), writeImage(profile.imageSize);
    const auto path = std::filesystem::temp_directory_path() / "korvex-bench-model.rom";
    for (auto _ : state) {
        if (!SaveProject(path, profile, settings, readImage, writeImage, Date{2025, 1, 1}).Ok())
            state.SkipWithError("save failed");
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMicrosecond)->UseRealTime();  // the fsync is the cost

void BM_LoadProject(benchmark::State& state) {
    const Profile& profile = FullProfile();
    ConfigSettings settings = BusySettings(profile);
    std::vector<std::uint8_t> readImage(profile.imageSize), writeImage(profile.imageSize);
    const auto path = std::filesystem::temp_directory_path() / "korvex-bench-model-load.rom";
    if (!SaveProject(path, profile, settings, readImage, writeImage, Date{2025, 1, 1}).Ok()) {
        state.SkipWithError("save failed");
        return;
    }
    for (auto _ : state) {
        ConfigSettings loaded;
        if (!LoadProject(path, profile, readImage, loaded).Ok()) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(loaded);
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadProject)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace korvex
BENCHMARK_MAIN();
