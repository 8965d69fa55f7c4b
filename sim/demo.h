#pragma once
#include <array>
#include <cstdint>

#include "link/profile.h"
#include "model/config_settings.h"

namespace korvex {

// The sample configuration the demo module carries.
ConfigSettings DemoSettings(const Profile& profile);

// A working module's memory, so that a newcomer can try every button without
// hardware: the marker, (full) version "1.04" and the type signature, a
// sample configuration, (full) a few log records, and one short voice message.
std::array<std::uint8_t, 32768> MakeDemoMemory(const Profile& profile);

}  // namespace korvex
