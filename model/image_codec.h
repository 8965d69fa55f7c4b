#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "link/profile.h"
#include "model/clock.h"
#include "model/config_settings.h"
#include "model/image_layout.h"

namespace korvex {

// Decodes a configuration image into settings. Replaces every field the
// profile's image holds (all texts slots are cleared first, then the image's
// 6 or 8 are decoded, and every slot's textLimit is set from its flag);
// fields the image lacks (names, reports and object name of the compact
// module, comSpeed) are left alone. Bytes missing from a short readImage
// read as zero; bytes past the profile's image size are ignored. Never fails.
void UnpackImage(const Profile& profile, std::span<const std::uint8_t> readImage, ConfigSettings& settings);

// Builds writeImage from scratch: zeros, the profile's marker, (full only)
// the program version and type signature copied from readImage bytes 16..23
// (zero where readImage is shorter) and the date of packing at 1116..1119,
// then every setting. As a side effect the zone action lists in settings are
// compacted. writeImage must hold at least profile.imageSize bytes (all of
// it is zero-filled first); a smaller one throws std::length_error.
//
// The order matters and follows the module's expectations: actions (with
// bytes 92..95 forced to 0xFF after them), texts, phones, SMS centre,
// password and PGM/test bytes, autodial cycles, the full module's names,
// object name and reports, and the UCS-2 bit of each text record last.
void PackImage(const Profile& profile, ConfigSettings& settings, std::span<const std::uint8_t> readImage,
               std::span<std::uint8_t> writeImage, Date today);

// The four bytes the full image stores for a date: year high, year low,
// month, day.
std::array<std::uint8_t, 4> DateBytes(Date date);

// The module's program version as UTF-8, from the layout::kVersionSize bytes
// stored at layout::kVersion (fewer are taken as they are): the bytes up to
// the first zero, code page 1251.
std::string ProgramVersion(std::span<const std::uint8_t> versionBytes);

}  // namespace korvex
