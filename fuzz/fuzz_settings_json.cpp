// The JSON settings path of korvex-cli build: parse, check every value with
// its code page 1251 conversion, pack the image and show it again.
// Input: byte 0 bit 0 picks the compact module; the rest is the JSON text.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "cli/cli_error.h"
#include "cli/settings_json.h"
#include "model/image_codec.h"

using namespace korvex;
using namespace korvex::cli;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const Profile& profile = (data[0] & 1) ? CompactProfile() : FullProfile();
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
    std::vector<std::uint8_t> image(profile.imageSize);
    PackImage(profile, settings, zeros, image, Date{2025, 1, 1});
    ConfigSettings back;
    UnpackImage(profile, image, back);
    const Json shown = SettingsToJson(profile, back);
    if (!shown.is_object()) std::abort();
    (void)SettingsAsLines(shown);
    return 0;
}
