#pragma once
#include <cstdint>

#include "link/modem_lines.h"

namespace korvex {

// Passes every line call through and counts it, so a command can say what
// a port cost whatever kind of port it is.
class CountingLines final : public ModemLines {
public:
    explicit CountingLines(ModemLines& inner) : inner_(inner) {}
    void SetDtr() override { ++sets_; inner_.SetDtr(); }
    void ClearDtr() override { ++sets_; inner_.ClearDtr(); }
    void SetRts() override { ++sets_; inner_.SetRts(); }
    void ClearRts() override { ++sets_; inner_.ClearRts(); }
    std::uint32_t ReadModemStatus() override {
        ++reads_;
        return inner_.ReadModemStatus();
    }
    std::uint64_t Sets() const { return sets_; }
    std::uint64_t Reads() const { return reads_; }

private:
    ModemLines& inner_;
    std::uint64_t sets_ = 0, reads_ = 0;
};

}  // namespace korvex
