#pragma once
#include <cstdint>
#include <filesystem>
#include <span>

#include "link/profile.h"
#include "model/clock.h"
#include "model/config_settings.h"
#include "model/file_io.h"

namespace korvex {

// A project file ("*.rom") is the configuration image byte for byte: 1120
// bytes from the full configurator, 768 from the compact one, no header.
// Either program loads either kind; the layout then applies to whatever the
// bytes are.

// Zero-fills readImage and copies at most profile.imageSize bytes of the
// file's contents into it.
void LoadImageBytes(const Profile& profile, std::span<const std::uint8_t> fileBytes,
                    std::span<std::uint8_t> readImage);

// Reads up to profile.imageSize bytes of the file into a zero-filled
// readImage (a short file leaves zeros, a long one is read no further), then
// UnpackImage into settings. On failure (Open or Read) neither readImage nor
// settings changes. readImage should hold profile.imageSize bytes.
FileOutcome LoadProject(const std::filesystem::path& path, const Profile& profile, std::span<std::uint8_t> readImage,
                        ConfigSettings& settings);

// PackImage (with the given date) and the image written with
// WriteFileAtomic. Only when the file is in place do settings (action lists
// compacted) and writeImage (the bytes saved) change; after a failure (Create
// or Write) nothing changes and an old file of that name is intact.
// writeImage must hold profile.imageSize bytes (std::length_error otherwise).
FileOutcome SaveProject(const std::filesystem::path& path, const Profile& profile, ConfigSettings& settings,
                        std::span<const std::uint8_t> readImage, std::span<std::uint8_t> writeImage, Date date);

}  // namespace korvex
