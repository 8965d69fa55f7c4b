#include "model/config_transfer.h"

#include <utility>

#include "model/image_codec.h"
#include "model/image_layout.h"

namespace korvex {

LinkOutcome ReadSettingsFromModule(TwoWireBus& bus, const Profile& profile, Progress& progress, ModuleConfig& out) {
    std::vector<std::uint8_t> image(profile.imageSize, 0);
    const LinkOutcome outcome = ReadDataFromModule(bus, profile, image, progress);
    if (!outcome.Ok()) return outcome;
    ConfigSettings settings;
    UnpackImage(profile, image, settings);
    out.image = std::move(image);
    out.settings = std::move(settings);
    return outcome;
}

LinkOutcome WriteSettingsToModule(TwoWireBus& bus, const Profile& profile, ConfigSettings& settings,
                                  std::span<const std::uint8_t> base, Date date, std::vector<std::uint8_t>& writeImage,
                                  std::vector<std::uint8_t>& held, Progress& progress) {
    // From the first byte written the module holds what it held no longer.
    const std::vector<std::uint8_t> known = std::exchange(held, {});
    const LinkOutcome check = CheckModule(bus, profile);
    if (!check.Ok()) return check;
    writeImage.assign(profile.imageSize, 0);
    PackImage(profile, settings, base, writeImage, date);
    const LinkOutcome outcome = WriteDataToModule(bus, profile, writeImage, progress, known);
    if (outcome.Ok()) held = writeImage;  // every byte written was read back
    return outcome;
}

std::vector<std::uint8_t> HeldFromBackup(const Profile& profile, std::vector<std::uint8_t> backup, Date date) {
    const auto packed = DateBytes(date);
    if (profile.kind != ModuleKind::Full || backup.size() < layout::kDate + packed.size()) return backup;
    for (std::size_t i = 0; i < packed.size(); ++i) backup[layout::kDate + i] = static_cast<std::uint8_t>(~packed[i]);
    return backup;
}

std::string ReadProgramVersion(TwoWireBus& bus, const Profile& profile) {
    if (!profile.checksType) return {};
    std::uint8_t version[layout::kVersionSize];
    bus.ReadSequential(static_cast<std::uint16_t>(layout::kVersion), version);
    return ProgramVersion(version);
}

}  // namespace korvex
