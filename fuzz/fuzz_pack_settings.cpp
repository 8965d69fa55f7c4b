// Arbitrary settings, as a careless caller might hand them in (texts too
// long, phones with any characters, counts out of range), packed into images
// of the exact size for both modules: nothing may crash or write past the
// image, and decoding the result must be stable from then on.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "model/image_codec.h"

namespace {

using korvex::ConfigSettings;

std::string AnyText(FuzzedDataProvider& in) { return in.ConsumeRandomLengthString(100); }

ConfigSettings AnySettings(FuzzedDataProvider& in) {
    ConfigSettings s;
    for (auto& p : s.phones) p = AnyText(in);
    for (auto& t : s.texts) t = AnyText(in);
    for (auto& c : s.cyrillic) c = in.ConsumeBool();
    s.pgmPassword = AnyText(in);
    s.objectName = AnyText(in);
    s.smscNumber = AnyText(in);
    s.testSmsCode = in.ConsumeIntegral<std::uint8_t>();
    s.pgmSeconds = in.ConsumeIntegral<std::uint8_t>();
    s.autodialCycles = in.ConsumeIntegral<std::uint8_t>();
    s.voiceAfterPickup = in.ConsumeBool();
    for (auto&& t : s.zoneType) t = in.ConsumeBool();
    for (auto& group : s.zoneActions)
        for (auto& a : group) a = in.ConsumeIntegral<std::uint8_t>();
    for (auto& r : s.reportActions) {
        r.smsPhone = in.ConsumeIntegral<std::uint8_t>();
        r.autodialPhone = in.ConsumeIntegral<std::uint8_t>();
        r.reportTypeMask = in.ConsumeIntegral<std::uint8_t>();
        r.smsLayoutMask = in.ConsumeIntegral<std::uint8_t>();
    }
    for (auto& z : s.zoneNames) z = {AnyText(in), in.ConsumeIntegral<std::uint8_t>()};
    for (auto& z : s.partitionNames) z = {AnyText(in), in.ConsumeIntegral<std::uint8_t>()};
    for (auto& u : s.userNames) u = AnyText(in);
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const ConfigSettings settings = AnySettings(in);
    const std::vector<std::uint8_t> readImage = in.ConsumeBytes<std::uint8_t>(30);  // often shorter than 24
    constexpr korvex::Date kDate{2031, 7, 4};
    for (const korvex::Profile* profile : {&korvex::FullProfile(), &korvex::CompactProfile()}) {
        ConfigSettings packed = settings;
        std::vector<std::uint8_t> image(profile->imageSize);
        korvex::PackImage(*profile, packed, readImage, image, kDate);

        ConfigSettings first, second;
        korvex::UnpackImage(*profile, image, first);
        std::vector<std::uint8_t> again(profile->imageSize);
        korvex::PackImage(*profile, first, readImage, again, kDate);
        korvex::UnpackImage(*profile, again, second);
        if (!(second == first)) std::abort();
    }
    return 0;
}
