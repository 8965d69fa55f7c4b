#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "link/device_link.h"
#include "link/profile.h"
#include "link/progress.h"
#include "link/two_wire_bus.h"
#include "model/clock.h"
#include "model/config_settings.h"

namespace korvex {

// Read data and Write data as one call each, so that every front end runs
// the same sequence: the programs, korvex-cli and the estimates' dry runs.

// What one read of the module gave: its image and the settings decoded from
// it, cleared first exactly like a project load.
struct ModuleConfig {
    std::vector<std::uint8_t> image;
    ConfigSettings settings;
};

// The module checks, then the read into a fresh image. On a failed outcome
// `out` is left as it was, so a transfer cut off half way loses nothing.
[[nodiscard]] LinkOutcome ReadSettingsFromModule(TwoWireBus& bus, const Profile& profile, Progress& progress,
                                                 ModuleConfig& out);

// The module checks; then `writeImage` is packed from `settings` over `base`
// (the image the settings came from, which gives the program version and
// type signature) dated `date`, and written and verified by
// WriteDataToModule. `held` is what the module is known to hold: the fast
// timing writes only the runs that differ from it. It is emptied before the
// first byte is written and set again only by a write that verified, so a
// write that stops half way leaves nothing trusted.
[[nodiscard]] LinkOutcome WriteSettingsToModule(TwoWireBus& bus, const Profile& profile, ConfigSettings& settings,
                                                std::span<const std::uint8_t> base, Date date,
                                                std::vector<std::uint8_t>& writeImage, std::vector<std::uint8_t>& held,
                                                Progress& progress);

// What the module holds after it was last written from `backup`, as far as
// a write dated `date` may trust it: the backup, but with its date counted as
// changed, since the module stores the day it was written, not the day the
// backup was saved. Empty for an empty backup.
std::vector<std::uint8_t> HeldFromBackup(const Profile& profile, std::vector<std::uint8_t> backup, Date date);

// The program version the module reports (full module; empty for a profile
// without a type check). No module checks.
std::string ReadProgramVersion(TwoWireBus& bus, const Profile& profile);

}  // namespace korvex
