// The JSON settings path of korvex-cli build: parse, check every value with
// its code page 1251 conversion, pack the image and show it again; and the
// other way, any image shown as JSON is taken back by build.
// Input: byte 0 bit 0 picks the compact module, bit 1 reads the rest as an
// image instead of JSON text.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "cli/cli_error.h"
#include "cli/settings_json.h"
#include "model/image_codec.h"

using namespace korvex;
using namespace korvex::cli;

namespace {

constexpr Date kDate{2025, 1, 1};

std::vector<std::uint8_t> Packed(const Profile& profile, ConfigSettings settings) {
    const std::vector<std::uint8_t> zeros(profile.imageSize, 0);
    std::vector<std::uint8_t> image(profile.imageSize);
    PackImage(profile, settings, zeros, image, kDate);
    return image;
}

// Whatever show prints, build takes back and packs to the image the
// settings give; a refusal or another image is a fault.
void RoundTrip(const Profile& profile, const std::vector<std::uint8_t>& image) {
    ConfigSettings settings;
    UnpackImage(profile, image, settings);
    const std::string shown = SettingsToJson(profile, settings).dump();
    ConfigSettings built;
    UnpackImage(profile, std::vector<std::uint8_t>(profile.imageSize, 0), built);
    ApplyJson(profile, TextsFor(profile), JsonInput::parse(shown), built);  // throws on a refusal
    if (Packed(profile, built) != Packed(profile, settings)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const Profile& profile = (data[0] & 1) ? CompactProfile() : FullProfile();
    if (data[0] & 2) {
        std::vector<std::uint8_t> image(data + 1, data + size);
        image.resize(profile.imageSize);
        RoundTrip(profile, image);
        return 0;
    }
    const JsonInput object = JsonInput::parse(data + 1, data + size, nullptr, /*allow_exceptions=*/false);
    if (object.is_discarded()) return 0;

    const std::vector<std::uint8_t> zeros(profile.imageSize, 0);
    ConfigSettings settings;
    UnpackImage(profile, zeros, settings);
    try {
        ApplyJson(profile, TextsFor(profile), object, settings);
    } catch (const CliError& e) {
        if (e.Code() != kExitInput) std::abort();
        return 0;
    }
    const std::vector<std::uint8_t> image = Packed(profile, settings);
    ConfigSettings back;
    UnpackImage(profile, image, back);
    const Json shown = SettingsToJson(profile, back);
    if (!shown.is_object()) std::abort();
    (void)SettingsAsLines(shown);
    RoundTrip(profile, image);
    return 0;
}
