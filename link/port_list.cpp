#include "link/port_list.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace korvex {

std::vector<std::string> SerialPortsPresent() {
    std::vector<std::string> ports;
#ifdef _WIN32
    char target[512];
    for (int n = 1; n <= 255; ++n) {
        const std::string name = "COM" + std::to_string(n);
        if (QueryDosDeviceA(name.c_str(), target, sizeof target) != 0) ports.push_back(name);
    }
#else
    // The kernel lists every tty it knows; a serial port has a device behind
    // it, and a legacy UART slot that found no chip reports type 0.
    namespace fs = std::filesystem;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/sys/class/tty", ec)) {
        const fs::path dir = entry.path();
        if (!fs::exists(dir / "device", ec)) continue;
        if (std::ifstream type(dir / "type"); type) {
            int kind = 0;
            if (type >> kind && kind == 0) continue;
        }
        ports.push_back("/dev/" + dir.filename().string());
    }
    std::sort(ports.begin(), ports.end());
#endif
    return ports;
}

}  // namespace korvex
