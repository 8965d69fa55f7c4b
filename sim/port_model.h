#pragma once
#include <cstdint>
#include <span>
#include <string_view>

namespace korvex {

// What a kind of serial port costs per line call and how fresh its status
// is. A set is one DTR/RTS change; a read is one modem-status read.
struct PortModel {
    std::string_view name;         // as --sim-port takes it
    std::string_view driver;       // the Linux driver such a port has
    std::uint64_t setNs;
    std::uint64_t readNs;
    std::uint64_t statusRefreshNs; // 0: live; else a read returns the level at the last refresh
    bool ctsAlwaysOn;              // the adapter never reports the line at all
};

// The models, easy to change in one place (port_model.cpp). "default" is the
// simulator's own: a few microseconds a call, live status.
std::span<const PortModel> PortModels();
const PortModel& DefaultPortModel();
// nullptr for an unknown name.
const PortModel* FindPortModel(std::string_view name);

}  // namespace korvex
