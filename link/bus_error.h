#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

namespace korvex {

// What the fast bus timing learns from the memory's acknowledge: the module
// did not answer its device address, the memory refused a byte, or it did
// not finish its write cycle in time. The standard timing never looks, so
// it never throws this.
class BusError : public std::runtime_error {
public:
    enum class Kind { NoAnswer, Refused, WriteCycleTimeout };
    BusError(Kind kind, std::uint32_t address);
    Kind GetKind() const { return kind_; }
    std::uint32_t Address() const { return address_; }  // the byte refused or the page last written

private:
    Kind kind_;
    std::uint32_t address_;
};

// Thrown by the bus at a safe point once a stop was asked for
// (TwoWireBus::SetStopCheck): the bus has ended its transaction and left
// both lines released.
class TransferStopped : public std::runtime_error {
public:
    TransferStopped() : std::runtime_error("the transfer was stopped") {}
};

}  // namespace korvex
