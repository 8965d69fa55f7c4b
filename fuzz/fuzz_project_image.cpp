// Arbitrary bytes as a project file for both modules: load, unpack, pack,
// unpack again. Nothing may crash or read out of bounds, and the second
// decode must equal the first one, apart from what packing is meant to
// change: action lists compacted, no autodial actions for the test SMS.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "model/image_codec.h"
#include "model/project_file.h"

namespace {

using korvex::ConfigSettings;

void Check(bool ok) {
    if (!ok) std::abort();
}

// Set actions first in their order, in each half of each group.
ConfigSettings Compacted(ConfigSettings s) {
    for (auto& group : s.zoneActions) {
        std::stable_partition(group.begin(), group.begin() + 4, [](std::uint8_t a) { return a != 0; });
        std::stable_partition(group.begin() + 4, group.end(), [](std::uint8_t a) { return a != 0; });
    }
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    constexpr korvex::Date kDate{2024, 2, 29};
    for (const korvex::Profile* profile : {&korvex::FullProfile(), &korvex::CompactProfile()}) {
        // Exact sizes, so that any access past an image is caught.
        std::vector<std::uint8_t> readImage(profile->imageSize);
        korvex::LoadImageBytes(*profile, file, readImage);

        ConfigSettings first;
        korvex::UnpackImage(*profile, readImage, first);
        ConfigSettings packed = first;
        std::vector<std::uint8_t> written(profile->imageSize);
        korvex::PackImage(*profile, packed, readImage, written, kDate);
        ConfigSettings expected = Compacted(first);
        Check(packed == expected);  // packing changes nothing else

        // The image has no autodial actions for the test SMS.
        std::fill(expected.zoneActions[3].begin() + 4, expected.zoneActions[3].end(), std::uint8_t{0});

        ConfigSettings second;
        korvex::UnpackImage(*profile, written, second);
        Check(second == expected);

        // And the image built from the second decode is the same image.
        std::vector<std::uint8_t> again(profile->imageSize);
        korvex::PackImage(*profile, second, readImage, again, kDate);
        Check(again == written);
    }
    return 0;
}
