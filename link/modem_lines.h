#pragma once
#include <cstdint>

namespace korvex {

// Modem-status bit that reports CTS on (the bus data line is low).
inline constexpr std::uint32_t kMsCtsOn = 0x10;

// The five line operations the two-wire bus needs. A real port and the
// simulated module both provide them; the bus never knows which it drives.
class ModemLines {
public:
    virtual ~ModemLines() = default;
    virtual void SetDtr() = 0;
    virtual void ClearDtr() = 0;
    virtual void SetRts() = 0;
    virtual void ClearRts() = 0;
    virtual std::uint32_t ReadModemStatus() = 0;
};

}  // namespace korvex
