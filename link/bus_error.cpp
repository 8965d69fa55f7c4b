#include "link/bus_error.h"

namespace korvex {
namespace {

std::string Describe(BusError::Kind kind, std::uint32_t address) {
    switch (kind) {
        case BusError::Kind::NoAnswer: return "no module answers on the bus";
        case BusError::Kind::Refused: return "the memory refused the byte at address " + std::to_string(address);
        case BusError::Kind::WriteCycleTimeout:
            return "the memory did not finish writing at address " + std::to_string(address) + " within 70 ms";
    }
    return {};
}

}  // namespace

BusError::BusError(Kind kind, std::uint32_t address)
    : std::runtime_error(Describe(kind, address)), kind_(kind), address_(address) {}

}  // namespace korvex
