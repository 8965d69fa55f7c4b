#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

#include "link/profile.h"

namespace korvex::test {

// A simulated module's memory file as the tests prepare it.
inline std::vector<std::uint8_t> BlankMemory() { return std::vector<std::uint8_t>(kMemorySize, 0xFF); }

// A working module: its marker, and for the full one the program version
// "1.04" and the type signature; the rest as `blank` has it.
inline std::vector<std::uint8_t> PreparedMemory(const Profile& profile, std::vector<std::uint8_t> memory = BlankMemory()) {
    std::copy(profile.marker.begin(), profile.marker.end(), memory.begin());
    if (profile.checksType) {
        const std::uint8_t version[4] = {'1', '.', '0', '4'};
        std::copy(std::begin(version), std::end(version), memory.begin() + 16);
        std::copy(std::begin(kDeviceTypeSignature), std::end(kDeviceTypeSignature), memory.begin() + 20);
    }
    return memory;
}

}  // namespace korvex::test
