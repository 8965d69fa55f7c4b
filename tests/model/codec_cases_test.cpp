// Codec cases: settings packed into an image (bytes checked where they land,
// then decoded back), and raw images decoded.
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <string>
#include <vector>

#include "model/field_codecs.h"
#include "model/image_codec.h"
#include "model/settings_printer.h"
#include "model/image_layout.h"

namespace korvex {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr Date kDay{2025, 3, 31};

std::string Repeat(char c, int n) { return std::string(static_cast<std::size_t>(n), c); }

// The read image every pack case starts from: version "1.04" and the signature.
Bytes ReadImageWithVersion() {
    Bytes image(layout::kFullImageSize, 0);
    const std::uint8_t head[8] = {'1', '.', '0', '4', 0xE8, 0x95, 0x87, 0x36};
    std::copy(std::begin(head), std::end(head), image.begin() + 16);
    return image;
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct PackCase {
    const char* name;
    const Profile& (*profile)();
    void (*edit)(ConfigSettings&);
    std::size_t offset;
    Bytes expected;          // bytes at offset after PackImage
    bool roundTrip = true;   // unpacking gives back the (compacted) settings
};

const PackCase kPackCases[] = {
    {"phone +67089", FullProfile, [](ConfigSettings& s) { s.phones[0] = "+67089"; },
     layout::PhoneOffset(0), {0x05, 0x91, 0x76, 0x80, 0xF9, 0x00}},
    {"phone -67089 in the last record", FullProfile, [](ConfigSettings& s) { s.phones[7] = "-67089"; },
     layout::PhoneOffset(7), {0x05, 0x81, 0x76, 0x80, 0xF9, 0x00}},
    {"phone: bare + packs 00 91", CompactProfile, [](ConfigSettings& s) { s.phones[2] = "+"; },
     layout::PhoneOffset(2), {0x00, 0x91, 0x00}},
    {"phone of 20 digits", FullProfile, [](ConfigSettings& s) { s.phones[1] = "+12345678901234567890"; },
     layout::PhoneOffset(1), {0x14, 0x91, 0x21, 0x43, 0x65, 0x87, 0x09, 0x21, 0x43, 0x65, 0x87, 0x09, 0x00}},
    {"SMS centre of 11 digits", FullProfile, [](ConfigSettings& s) { s.smscNumber = "+79031234567"; },
     layout::kSmsc, {0x07, 0x91, 0x97, 0x30, 0x21, 0x43, 0x65, 0xF7, 0x00}},
    {"SMS centre of 12 digits", CompactProfile, [](ConfigSettings& s) { s.smscNumber = "+790312345678"; },
     layout::kSmsc, {0x07, 0x91, 0x97, 0x30, 0x21, 0x43, 0x65, 0x87, 0x00}},
    {"SMS centre never set", FullProfile, [](ConfigSettings& s) { s.smscNumber = ""; },
     layout::kSmsc, {0x01, 0x81, 0xF0, 0x00}},
    {"one-letter text", FullProfile, [](ConfigSettings& s) { s.texts[0] = "A"; },
     layout::TextOffset(0), {0x01, 0x01, 0x41, 0x00}},
    {"empty text", FullProfile, [](ConfigSettings& s) { s.texts[1] = ""; },
     layout::TextOffset(1), {0x01, 0x00, 0x00}},
    {"8 characters in 7 octets", FullProfile, [](ConfigSettings& s) { s.texts[2] = "ABCDEFGH"; },
     layout::TextOffset(2), {0x07, 0x08, 0x41, 0xE1, 0x90, 0x58, 0x34, 0x1E, 0x91, 0x00}},
    {"@ and $ mapped to septets 0 and 2", FullProfile, [](ConfigSettings& s) { s.texts[3] = "@$Az$@"; },
     layout::TextOffset(3), {0x06, 0x06, 0x00, 0x41, 0x50, 0x2F, 0x00, 0x00, 0x00}},
    {"68 characters with @ and $ at both ends", FullProfile,
     [](ConfigSettings& s) { s.texts[5] = "@$" + Repeat('x', 64) + "$@"; },
     layout::TextOffset(5), {60, 68}},
    {"31 Cyrillic characters", FullProfile,
     [](ConfigSettings& s) {
         s.texts[4] = "\xC0\xFF\xA8\xB9" + Repeat('\xE0', 27);  // А я Ё № а...
         s.cyrillic[4] = true;
         s.textLimit[4] = TextLimit(true);
     },
     layout::TextOffset(4), {0x80 | 62, 62, 0x04, 0x10, 0x04, 0x4F, 0x04, 0x01, 0x21, 0x16, 0x04, 0x30}},
    {"compact text 8 at 704 with its UCS-2 bit", CompactProfile,
     [](ConfigSettings& s) {
         s.texts[7] = "Hi";
         s.cyrillic[7] = true;
         s.textLimit[7] = TextLimit(true);
     },
     704, {0x84, 0x04, 0x00, 'H', 0x00, 'i', 0x00}},
    {"ten-character password", FullProfile, [](ConfigSettings& s) { s.pgmPassword = "ABCDEFGHIJ"; },
     layout::kPassword, {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J' | 0x80, 0x00}},
    {"short password", CompactProfile, [](ConfigSettings& s) { s.pgmPassword = "12"; },
     layout::kPassword, {'1', '2' | 0x80, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"actions compacted", FullProfile,
     [](ConfigSettings& s) {
         s.zoneActions[1] = {0, 0x12, 0, 0x34, 0x21, 0, 0, 0x38};
     },
     layout::kZoneActions + 8, {0x01, 0x23, 0xFF, 0xFF, 0x10, 0x27, 0xFF, 0xFF}},
    {"test SMS autodial bytes 92..95 always erased", CompactProfile,
     [](ConfigSettings& s) { s.zoneActions[3] = {0x11, 0x22, 0x33, 0x44, 0x11, 0x12, 0x13, 0x14}; },
     layout::kZoneActions + 24, {0x00, 0x11, 0x22, 0x33, 0xFF, 0xFF, 0xFF, 0xFF}, false},
    {"autodial cycles 9", FullProfile, [](ConfigSettings& s) { s.autodialCycles = 9; },
     layout::kAutodialCycles, {6}},
    {"zone types and voice timing", FullProfile,
     [](ConfigSettings& s) {
         s.zoneType = {true, false, true, false};
         s.voiceAfterPickup = true;
     },
     layout::kZoneTypes, {0x51}},
    {"PGM seconds and test SMS code", CompactProfile,
     [](ConfigSettings& s) {
         s.pgmSeconds = 99;
         s.testSmsCode = 0x86;
     },
     layout::kPgmSeconds, {99, 0x86}},
    {"report actions", FullProfile,
     [](ConfigSettings& s) {
         s.reportActions[0] = {1, 8, 0x7F, 0x37};
         s.reportActions[3] = {5, 0, 0x01, 0x20};
     },
     layout::kReports,
     {0x00, 0xFF, 0xFF, 0x04, 0x07, 0xFF, 0xFF, 0xFF, 0x7F, 0x37, 0, 0, 0, 0, 0x01, 0x20}},
    {"object name of 24 characters has no terminator", FullProfile,
     [](ConfigSettings& s) { s.objectName = Repeat('N', 24); },
     layout::kObjectName - 1, Bytes{0x36} + Bytes(24, 'N') + Bytes{0xFF}},
    {"zone 28 and partition 1 names", FullProfile,
     [](ConfigSettings& s) {
         s.zoneNames[27] = {"Gate", 6};
         s.partitionNames[0] = {"0123456789", 1};
     },
     layout::kZoneNames + 27 * 11, {6, 'G', 'a', 't', 'e', 0, 0, 0, 0, 0, 0, 1, '0', '1', '2', '3', '4', '5', '6', '7', '8', '9'}},
    {"user 8 name", FullProfile, [](ConfigSettings& s) { s.userNames[7] = "Ivan"; },
     layout::kUserNames + 70, {'I', 'v', 'a', 'n', 0, 0, 0, 0, 0, 0, 0x07, 0xE9, 3, 31}},
    {"version and signature copied from the read image", FullProfile, [](ConfigSettings&) {},
     16, {'1', '.', '0', '4', 0xE8, 0x95, 0x87, 0x36, 0x00}},
    {"compact image keeps its marker where the version would be", CompactProfile, [](ConfigSettings&) {},
     16, {'A', 'L', 'E', 'R', '\r', '\n', '4', ' '}},
};

class PackCases : public testing::TestWithParam<PackCase> {};

TEST_P(PackCases, LandsAndComesBack) {
    const PackCase& c = GetParam();
    const Profile& profile = c.profile();
    ConfigSettings settings;
    settings.smscNumber = "-";  // what the page stores; the empty start value has a case of its own
    c.edit(settings);
    const Bytes readImage = ReadImageWithVersion();
    Bytes image(profile.imageSize, 0xAA);
    PackImage(profile, settings, readImage, image, kDay);

    ASSERT_LE(c.offset + c.expected.size(), image.size());
    const Bytes got(image.begin() + c.offset, image.begin() + c.offset + c.expected.size());
    EXPECT_EQ(got, c.expected);

    ConfigSettings back;
    UnpackImage(profile, image, back);
    if (c.roundTrip) {
        EXPECT_EQ(back, settings);
    }
}

INSTANTIATE_TEST_SUITE_P(Model, PackCases, testing::ValuesIn(kPackCases),
                         [](const testing::TestParamInfo<PackCase>& info) {
                             std::string name;
                             for (const char ch : std::string(info.param.name))
                                 name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             return name;
                         });

// Images decoded: what the layout says the bytes mean.
struct UnpackCase {
    const char* name;
    const Profile& (*profile)();
    void (*image)(Bytes&);  // edits an image that starts all zero
    void (*expect)(ConfigSettings&);  // edits the settings decoded from all zeros into the expected ones
};

void Fill(Bytes& image, std::size_t offset, std::initializer_list<std::uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), image.begin() + offset);
}

// All zeros: what an empty project file decodes to.
ConfigSettings ZeroImageSettings(const Profile& profile) {
    ConfigSettings s;
    s.smscNumber = "-";
    for (auto& group : s.zoneActions) group.fill(0x11);
    if (profile.kind == ModuleKind::Full) {
        for (auto& action : s.reportActions) action.smsPhone = action.autodialPhone = 1;
    }
    return s;
}

const UnpackCase kUnpackCases[] = {
    {"empty image", FullProfile, [](Bytes&) {}, [](ConfigSettings&) {}},
    {"erased module", FullProfile, [](Bytes& image) { std::fill(image.begin(), image.end(), 0xFF); },
     [](ConfigSettings& s) {
         s.texts.fill(Repeat('?', 31));
         s.cyrillic.fill(true);
         s.textLimit.fill(31);
         s.texts[6] = s.texts[7] = "";  // the full image holds six
         s.cyrillic[6] = s.cyrillic[7] = false;
         s.textLimit[6] = s.textLimit[7] = 68;
         for (auto& group : s.zoneActions) group.fill(0);
         s.autodialCycles = 10;
         s.testSmsCode = 255;
         s.pgmSeconds = 255;
         s.zoneType.fill(true);
         s.voiceAfterPickup = true;
         s.pgmPassword = "\x7F";
         for (auto& action : s.reportActions) action = {0, 0, 0xFF, 0xFF};
         for (auto& name : s.zoneNames) name = {Repeat('\xFF', 10), 0};
         for (auto& name : s.partitionNames) name = {Repeat('\xFF', 10), 0};
         s.userNames.fill(Repeat('\xFF', 10));
         s.objectName = Repeat('\xFF', 24);
     }},
    {"erased compact module keeps texts 7 and 8", CompactProfile,
     [](Bytes& image) { std::fill(image.begin(), image.end(), 0xFF); },
     [](ConfigSettings& s) {
         s.texts.fill(Repeat('?', 31));
         s.cyrillic.fill(true);
         s.textLimit.fill(31);
         for (auto& group : s.zoneActions) group.fill(0);
         s.autodialCycles = 10;
         s.testSmsCode = s.pgmSeconds = 255;
         s.zoneType.fill(true);
         s.voiceAfterPickup = true;
         s.pgmPassword = "\x7F";
     }},
    {"phone nibbles A to E and the F end", FullProfile,
     [](Bytes& image) { Fill(image, layout::PhoneOffset(2), {0x07, 0x91, 0xBA, 0xDC, 0x1E, 0xF2}); },
     [](ConfigSettings& s) { s.phones[2] = "+:;<=>12"; }},
    {"phone count cut to 20", CompactProfile,
     [](Bytes& image) {
         Fill(image, layout::PhoneOffset(0), {0xFE, 0x81});
         std::fill_n(image.begin() + layout::PhoneOffset(0) + 2, 14, 0x99);
     },
     [](ConfigSettings& s) { s.phones[0] = "-" + Repeat('9', 20); }},
    {"SMS centre length cut to 12", FullProfile,
     [](Bytes& image) {
         Fill(image, layout::kSmsc, {0xFF, 0x91});
         std::fill_n(image.begin() + layout::kSmsc + 2, 14, 0x33);
     },
     [](ConfigSettings& s) { s.smscNumber = "+" + Repeat('3', 22); }},
    {"SMS centre of 11 digits", FullProfile,
     [](Bytes& image) { Fill(image, layout::kSmsc, {0x07, 0x91, 0x97, 0x30, 0x21, 0x43, 0x65, 0xF7}); },
     [](ConfigSettings& s) { s.smscNumber = "+79031234567"; }},
    {"7-bit count beyond its octets", FullProfile,
     [](Bytes& image) { Fill(image, layout::TextOffset(1), {0x01, 0x05, 0x41}); },
     [](ConfigSettings& s) { s.texts[1] = "A"; }},
    {"UCS-2 outside the code page and a zero end", FullProfile,
     [](Bytes& image) {
         Fill(image, layout::TextOffset(0), {0x8A, 0x0A, 0x04, 0x01, 0x04, 0x50, 0x00, 0x41, 0x00, 0x00, 0x00, 0x42});
     },
     [](ConfigSettings& s) {
         s.texts[0] = "\xA8?A";
         s.cyrillic[0] = true;
         s.textLimit[0] = 31;
     }},
    {"password ends at a zero byte", CompactProfile,
     [](Bytes& image) { Fill(image, layout::kPassword, {'A', 'B', 0x00, 'C' | 0x80}); },
     [](ConfigSettings& s) { s.pgmPassword = "AB"; }},
    {"autodial byte 6 is 9 cycles", CompactProfile,
     [](Bytes& image) { image[layout::kAutodialCycles] = 6; },
     [](ConfigSettings& s) { s.autodialCycles = 9; }},
    {"action byte 0xEF wraps to not set", FullProfile,
     [](Bytes& image) { Fill(image, layout::kZoneActions, {0xEF, 0xEE}); },
     [](ConfigSettings& s) {
         s.zoneActions[0][0] = 0;
         s.zoneActions[0][1] = 0xFF;
     }},
    {"report phones from the low 3 bits", FullProfile,
     [](Bytes& image) { Fill(image, layout::kReports, {0x0F, 0xFF, 0x00, 0x07}); },
     [](ConfigSettings& s) {
         s.reportActions[0].smsPhone = 8;
         s.reportActions[1].smsPhone = 0;
         s.reportActions[3].smsPhone = 8;
     }},
    {"sound 9 reads as none", FullProfile,
     [](Bytes& image) { Fill(image, layout::kZoneNames + 11, {9, 'D', 'o', 'o', 'r'}); },
     [](ConfigSettings& s) { s.zoneNames[1] = {"Door", 0}; }},
};

class UnpackCases : public testing::TestWithParam<UnpackCase> {};

TEST_P(UnpackCases, DecodesAsTheLayoutSays) {
    const UnpackCase& c = GetParam();
    const Profile& profile = c.profile();
    Bytes image(profile.imageSize, 0);
    c.image(image);
    ConfigSettings expected = ZeroImageSettings(profile);
    c.expect(expected);

    ConfigSettings settings;
    settings.phones[0] = "+999";  // nothing of an earlier configuration survives
    settings.texts[7] = "old";
    UnpackImage(profile, image, settings);
    EXPECT_EQ(settings, expected);
}

INSTANTIATE_TEST_SUITE_P(Model, UnpackCases, testing::ValuesIn(kUnpackCases),
                         [](const testing::TestParamInfo<UnpackCase>& info) {
                             std::string name;
                             for (const char ch : std::string(info.param.name))
                                 name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             return name;
                         });

TEST(CompactActions, SetActionsFirstInTheirOrder) {
    const std::array<std::array<std::uint8_t, 4>, 2> cases[] = {
        {{{0, 0x12, 0, 0x34}, {0x12, 0x34, 0, 0}}},
        {{{0, 0, 0, 0x55}, {0x55, 0, 0, 0}}},
        {{{0x41, 0, 0, 0x13}, {0x41, 0x13, 0, 0}}},
        {{{0x11, 0x22, 0x33, 0x44}, {0x11, 0x22, 0x33, 0x44}}},
    };
    for (auto c : cases) {
        CompactActions(std::span<std::uint8_t, 4>(c[0]));
        EXPECT_EQ(c[0], c[1]);
    }
}

}  // namespace
}  // namespace korvex
