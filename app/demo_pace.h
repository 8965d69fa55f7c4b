#pragma once
#include <array>
#include <string_view>

#include "sim/port_model.h"

namespace korvex {

// The paces the programs offer for the demo module, in the order their
// choice lists them, by port model name: virtual time (as fast as the
// machine runs, the default), then a real cable's pace on a built-in port,
// on an FTDI or CP210x adapter, on a CH340 or PL2303 adapter.
inline constexpr std::array<std::string_view, 4> kDemoPaceModels = {"", "native", "ftdi", "ch340"};

// The port model of a choice: nullptr for virtual time and for a choice
// out of range.
inline const PortModel* DemoPaceModel(int choice) {
    if (choice <= 0 || choice >= static_cast<int>(kDemoPaceModels.size())) return nullptr;
    return FindPortModel(kDemoPaceModels[static_cast<std::size_t>(choice)]);
}

// The choice a port model stands for: 0 for virtual time and for a model
// that is not offered.
inline int DemoPaceChoice(const PortModel* cable) {
    for (std::size_t i = 1; cable && i < kDemoPaceModels.size(); ++i)
        if (kDemoPaceModels[i] == cable->name) return static_cast<int>(i);
    return 0;
}

}  // namespace korvex
