#include "sim/port_model.h"

namespace korvex {
namespace {

constexpr std::uint64_t kUs = 1000;

// Native UART: a register access. USB bridges: one control transfer per set;
// FTDI and CP210x also per status read, the CH34x and PL2303 drivers answer a
// read from a status cached off the interrupt endpoint, refreshed each
// millisecond. CDC-ACM adapters report CTS on whatever the line does.
constexpr PortModel kModels[] = {
    {"default", "", 2 * kUs, 2 * kUs, 0, false},
    {"native", "serial8250", 3 * kUs, 3 * kUs, 0, false},
    {"ftdi", "ftdi_sio", 200 * kUs, 200 * kUs, 0, false},
    {"cp210x", "cp210x", 200 * kUs, 200 * kUs, 0, false},
    {"ch340", "ch341", 200 * kUs, 5 * kUs, 1000 * kUs, false},
    {"pl2303", "pl2303", 200 * kUs, 5 * kUs, 1000 * kUs, false},
    {"cdc-acm", "cdc_acm", 200 * kUs, 5 * kUs, 0, true},
};

}  // namespace

std::span<const PortModel> PortModels() { return kModels; }

const PortModel& DefaultPortModel() { return kModels[0]; }

const PortModel* FindPortModel(std::string_view name) {
    for (const PortModel& m : kModels)
        if (m.name == name) return &m;
    return nullptr;
}

}  // namespace korvex
