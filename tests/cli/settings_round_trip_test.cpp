// show --json | build: whatever show prints for an image, build takes back
// and packs to the image that settings give, byte for byte.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "cli/cli_runner.h"
#include "link/profile.h"
#include "model/config_settings.h"
#include "model/image_codec.h"
#include "model/image_layout.h"
#include "model/sample_settings.h"
#include "sim/demo.h"

namespace korvex::test {
namespace {

using Image = std::vector<std::uint8_t>;

constexpr Date kBuildDate{2026, 12, 10};
constexpr const char* kBuildDateText = "2026-12-10";

// What the window programs' Write sends for an image read from a module
// that holds no program version: the image's settings packed afresh.
Image Repacked(const Profile& profile, const Image& image) {
    ConfigSettings settings;
    UnpackImage(profile, image, settings);
    Image packed(profile.imageSize);
    PackImage(profile, settings, Image(profile.imageSize, 0), packed, kBuildDate);
    return packed;
}

Image Packed(const Profile& profile, ConfigSettings settings) {
    Image image(profile.imageSize);
    PackImage(profile, settings, Image(profile.imageSize, 0), image, kBuildDate);
    return image;
}

// Septets as a 7-bit text record holds them: octet count, septet count,
// then eight septets to seven octets, least significant bit first.
void PutSeptets(Image& image, int slot, const std::vector<std::uint8_t>& septets) {
    const std::size_t at = layout::TextOffset(slot);
    std::fill_n(image.begin() + static_cast<std::ptrdiff_t>(at), layout::kTextRecordSize, std::uint8_t{0});
    image[at] = static_cast<std::uint8_t>((7 * septets.size() + 7) / 8);
    image[at + 1] = static_cast<std::uint8_t>(septets.size());
    for (std::size_t k = 0; k < septets.size(); ++k) {
        for (int b = 0; b < 7; ++b) {
            const std::size_t bit = 7 * k + static_cast<std::size_t>(b);
            if ((septets[k] >> b) & 1) image[at + 2 + bit / 8] |= static_cast<std::uint8_t>(1 << (bit % 8));
        }
    }
}

// Every field as far as the image's bytes reach.
ConfigSettings AtTheirMost() {
    ConfigSettings s;
    s.phones.fill("+0123456789:;<=>98765");                          // 20 semi-octets, the nibbles A..E among them
    s.smscNumber = "-0123456789:;<=>9876543";                        // 22: what the length byte carries
    s.texts = {"[]{}" + std::string(62, 'x'),                        // 70 septets, the escapes among them
               std::string(31, '\xFF'),                              // 31 UCS-2 characters "я"
               "@$_!\"#%&'()*+,-./:;<=>?\xA4\xA7\n\r^{}\\[~]|\x88",  // the alphabet's signs, "¤", "§", "€"
               std::string(70, ' '),
               std::string(31, '\x01'),
               std::string(70, '@'),
               std::string(70, '~').substr(0, 35),
               std::string(31, '\x98')};
    s.cyrillic = {false, true, false, false, true, false, false, true};
    s.pgmPassword = "\x7F\x01 ~09azAZ";
    s.objectName = std::string(24, '\xFF');
    s.testSmsCode = 0xFF;
    s.pgmSeconds = 0xFF;
    s.autodialCycles = kAutodialCyclesMost;
    s.voiceAfterPickup = true;
    s.zoneType.fill(true);
    for (auto& group : s.zoneActions) group.fill(0xFF);
    s.zoneActions[3] = {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0};  // the test SMS has no autodial
    s.reportActions.fill({kPhoneCount, kPhoneCount, 0xFF, 0xFF});
    s.zoneNames.fill({std::string(kNameMax, '\xFF'), kNameSoundMax});
    s.partitionNames.fill({std::string(kNameMax, '\x7F'), kNameSoundMax});
    s.userNames.fill(std::string(kNameMax, '\x98'));
    return s;
}

// Every non-zero byte somewhere in a name: zone names hold 280 bytes.
ConfigSettings RawNameBytes() {
    ConfigSettings s;
    int byte = 1;
    for (NameRecord& record : s.zoneNames) {
        for (int i = 0; i < kNameMax; ++i) {
            record.name += static_cast<char>(byte);
            byte = byte == 255 ? 1 : byte + 1;
        }
    }
    s.objectName = "\"\\/\b\f\n\r\t\x1F\x7F\x80\x98\xAD\xFF";
    s.userNames = {"\"", "\\", "\x01", "\x7F", "\x98", "\xAD", "\xFF\xFE", "\t\n"};
    s.partitionNames[0].name = "\xC0\xFF\x80\x81";
    return s;
}

Image Filled(const Profile& profile, std::uint8_t byte) { return Image(profile.imageSize, byte); }

Image Random(const Profile& profile, unsigned seed) {
    std::mt19937 random(seed);
    Image image(profile.imageSize);
    for (std::uint8_t& b : image) b = static_cast<std::uint8_t>(random());
    return image;
}

// 7-bit records that no page writes: escape escape, an escape before a code
// the extension table lacks, an escape at the end, characters code page
// 1251 lacks, a septet count beyond the octets.
Image OddSeptets(const Profile& profile) {
    Image image = Packed(profile, ConfigSettings());
    PutSeptets(image, 0, {0x1B, 0x1B, 0x41});
    PutSeptets(image, 1, {0x1B, 0x41, 0x1B, 0x3C});
    PutSeptets(image, 2, {0x41, 0x1B});
    PutSeptets(image, 3, {0x10, 0x7F, 0x09, 0x1C, 0x5B});
    image[layout::TextOffset(4)] = 3;
    image[layout::TextOffset(4) + 1] = 100;
    // A UCS-2 record with characters outside code page 1251 and a zero.
    const std::size_t ucs2 = layout::TextOffset(5);
    const std::uint8_t record[] = {0x88, 8, 0x04, 0x63, 0x00, 0x41, 0x00, 0x00, 0x00, 0x42};
    std::copy(std::begin(record), std::end(record), image.begin() + static_cast<std::ptrdiff_t>(ucs2));
    return image;
}

// "offset: got/expected" for each byte that differs, so a failure names its field.
std::string Differences(const Image& got, const Image& expected) {
    std::string out;
    for (std::size_t i = 0; i < std::min(got.size(), expected.size()); ++i) {
        if (got[i] != expected[i])
            out += std::to_string(i) + ": " + std::to_string(got[i]) + "/" + std::to_string(expected[i]) + "  ";
    }
    return out;
}

struct ImageCase {
    const char* name;
    std::function<Image(const Profile&)> make;
    // The image is one PackImage wrote (dated kBuildDate), so the round trip
    // gives it back but for the bytes the settings do not hold.
    bool packed;
};

void PrintTo(const ImageCase& c, std::ostream* os) { *os << c.name; }

const ImageCase kImages[] = {
    {"Default", [](const Profile& p) { return Packed(p, ConfigSettings()); }, true},
    {"Demo",
     [](const Profile& p) {
         const auto memory = MakeDemoMemory(p);
         return Image(memory.begin(), memory.begin() + static_cast<std::ptrdiff_t>(p.imageSize));
     },
     true},
    {"EveryField", [](const Profile& p) { return Packed(p, EveryField(p)); }, true},
    {"AtTheirLeast",
     [](const Profile& p) {
         ConfigSettings s;
         s.phones.fill("+");
         s.smscNumber = "+";
         s.cyrillic.fill(true);
         s.autodialCycles = kAutodialCyclesFewest;
         return Packed(p, s);
     },
     true},
    {"AtTheirMost", [](const Profile& p) { return Packed(p, AtTheirMost()); }, true},
    {"RawNameBytes", [](const Profile& p) { return Packed(p, RawNameBytes()); }, true},
    {"OddSeptets", OddSeptets, false},
    {"Zeros", [](const Profile& p) { return Filled(p, 0x00); }, false},
    {"Erased", [](const Profile& p) { return Filled(p, 0xFF); }, false},
    {"Random1", [](const Profile& p) { return Random(p, 1); }, false},
    {"Random2", [](const Profile& p) { return Random(p, 2); }, false},
    {"Random3", [](const Profile& p) { return Random(p, 3); }, false},
};

class SettingsRoundTrip : public CliTest, public ::testing::WithParamInterface<std::tuple<ImageCase, const Profile*>> {
protected:
    const ImageCase& Case() const { return std::get<0>(GetParam()); }
    const Profile& Module() const { return *std::get<1>(GetParam()); }
    std::vector<std::string> Args(std::vector<std::string> args) const {
        if (Module().kind == ModuleKind::Compact) args.insert(args.begin(), "--compact");
        return args;
    }
};

TEST_P(SettingsRoundTrip, BuildTakesBackWhatShowPrints) {
    const Image image = Case().make(Module());
    ASSERT_EQ(image.size(), Module().imageSize);
    WriteBytes(At("in.rom"), image);

    const CliResult shown = Run(Args({"show", At("in.rom").string(), "--json"}));
    ASSERT_EQ(shown.status, 0) << shown.err;
    WriteText(At("in.json"), shown.out);
    const CliResult built =
        Run(Args({"build", At("in.json").string(), "-o", At("out.rom").string(), "--date", kBuildDateText}));
    ASSERT_EQ(built.status, 0) << built.err;
    const Image out = ReadBytes(At("out.rom"));

    const Image repacked = Repacked(Module(), image);
    EXPECT_EQ(out, repacked) << Differences(out, repacked);
    if (Case().packed) {
        // Not carried: the program version and type signature (the module's
        // own, taken from it on every write) and the date of packing.
        Image expected = image;
        if (Module().kind == ModuleKind::Full) {
            std::fill(expected.begin() + layout::kVersion, expected.begin() + layout::kObjectName, 0);
            const std::uint8_t date[] = {0x07, 0xEA, 12, 10};
            std::copy(std::begin(date), std::end(date), expected.begin() + layout::kDate);
        }
        EXPECT_EQ(out, expected) << Differences(out, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Cli, SettingsRoundTrip,
                         ::testing::Combine(::testing::ValuesIn(kImages),
                                            ::testing::Values(&FullProfile(), &CompactProfile())),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param)->kind == ModuleKind::Full ? "Full" : "Compact");
                         });

}  // namespace
}  // namespace korvex::test
