#pragma once
#include <cstdint>
#include <vector>

#include "link/profile.h"
#include "model/config_settings.h"

namespace korvex {

// The one application model of a program: the settings the pages edit, the
// two images, and (added by the File page's work) the voice store, the WAV
// buffer and the open link. Pages hold a reference; there are no globals.
struct AppModel {
    explicit AppModel(const Profile& p)
        : profile(p), readImage(p.imageSize, 0), writeImage(p.imageSize, 0) {}

    const Profile& profile;
    ConfigSettings settings;
    std::vector<std::uint8_t> readImage;   // as last read or loaded
    std::vector<std::uint8_t> writeImage;  // rebuilt before every write or save
};

}  // namespace korvex
