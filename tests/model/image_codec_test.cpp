#include <gtest/gtest.h>

#include <vector>

#include "model/image_codec.h"
#include "model/settings_printer.h"
#include "model/image_layout.h"
#include "model/sample_settings.h"

namespace korvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

class BothProfiles : public testing::TestWithParam<const Profile*> {};

TEST_P(BothProfiles, EveryFieldRoundTrips) {
    const Profile& profile = *GetParam();
    const ConfigSettings original = testing_model::EveryField(profile);
    ConfigSettings settings = original;
    const Bytes readImage(profile.imageSize, 0x5A);
    const Bytes readBefore = readImage;
    Bytes image(profile.imageSize);
    PackImage(profile, settings, readImage, image, Date{2024, 12, 1});
    EXPECT_EQ(settings, original) << "packing changed settings that were already compact";
    EXPECT_EQ(readImage, readBefore);

    ConfigSettings back;
    back.comSpeed = original.comSpeed;  // held with the settings, not in the image
    UnpackImage(profile, image, back);
    EXPECT_EQ(back, original);
}

TEST_P(BothProfiles, PackedImageIsAFixedPoint) {
    // Settings with gaps in the action lists: the first pack compacts them,
    // after that pack and unpack change nothing.
    const Profile& profile = *GetParam();
    ConfigSettings settings = testing_model::EveryField(profile);
    settings.zoneActions[2] = {0, 0x66, 0, 0x48, 0, 0, 0x14, 0};
    settings.zoneActions[3][5] = 0x21;  // dropped: the test SMS has no autodial
    Bytes first(profile.imageSize), second(profile.imageSize);
    PackImage(profile, settings, {}, first, Date{2024, 1, 2});
    EXPECT_EQ(settings.zoneActions[2], (std::array<std::uint8_t, 8>{0x66, 0x48, 0, 0, 0x14, 0, 0, 0}));

    ConfigSettings back;
    back.comSpeed = settings.comSpeed;
    UnpackImage(profile, first, back);
    PackImage(profile, back, {}, second, Date{2024, 1, 2});
    EXPECT_EQ(first, second);
}

TEST_P(BothProfiles, ShortReadImageDecodesAsZeros) {
    const Profile& profile = *GetParam();
    const Bytes zeros(profile.imageSize, 0);
    const Bytes cut(100, 0);
    ConfigSettings fromZeros, fromCut;
    UnpackImage(profile, zeros, fromZeros);
    UnpackImage(profile, cut, fromCut);
    EXPECT_EQ(fromCut, fromZeros);
}

INSTANTIATE_TEST_SUITE_P(Model, BothProfiles, testing::Values(&FullProfile(), &CompactProfile()),
                         [](const testing::TestParamInfo<const Profile*>& info) {
                             return std::string(info.param->name);
                         });

TEST(PackImage, TwoDatesDifferOnlyInTheDateBytes) {
    const Profile& profile = FullProfile();
    ConfigSettings settings = testing_model::EveryField(profile);
    Bytes readImage(profile.imageSize, 0);
    readImage[16] = '1';
    Bytes monday(profile.imageSize), tuesday(profile.imageSize);
    PackImage(profile, settings, readImage, monday, Date{2025, 12, 31});
    PackImage(profile, settings, readImage, tuesday, Date{2026, 1, 1});
    for (std::size_t i = 0; i < layout::kDate; ++i) ASSERT_EQ(monday[i], tuesday[i]) << "byte " << i;
    EXPECT_EQ(Bytes(monday.begin() + layout::kDate, monday.end()), (Bytes{0x07, 0xE9, 12, 31}));
    EXPECT_EQ(Bytes(tuesday.begin() + layout::kDate, tuesday.end()), (Bytes{0x07, 0xEA, 1, 1}));
}

TEST(PackImage, RebuildsTheWholeImageAndRefusesASmallOne) {
    const Profile& profile = CompactProfile();
    ConfigSettings settings;
    Bytes dirty(profile.imageSize + 10, 0xEE), clean(profile.imageSize + 10, 0x00);
    PackImage(profile, settings, {}, dirty, Date{});
    PackImage(profile, settings, {}, clean, Date{});
    EXPECT_EQ(dirty, clean);
    EXPECT_EQ(Bytes(dirty.begin(), dirty.begin() + 64), Bytes(profile.marker.begin(), profile.marker.end()));

    Bytes small(profile.imageSize - 1);
    EXPECT_THROW(PackImage(profile, settings, {}, small, Date{}), std::length_error);
}

TEST(ProgramVersion, TakesTheVersionBytesUpToTheFirstZero) {
    const struct {
        Bytes bytes;
        std::string text;
    } cases[] = {
        {{'2', '.', '1', '7'}, "2.17"},
        {{'V', '3', 0, '9'}, "V3"},                  // ends at the zero
        {{0xC2, '1', 0, 0}, "\u0412" "1"},            // code page 1251 'В'
        {{'1', '.', '0'}, "1.0"},                    // a short read as it is
        {{'1', '2', '3', '4', '5'}, "1234"},         // the type signature is not the version
        {{}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ProgramVersion(c.bytes), c.text);
}

}  // namespace
}  // namespace korvex
