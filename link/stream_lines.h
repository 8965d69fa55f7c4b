#pragma once
#include <cstdint>

#include "link/modem_lines.h"
#include "link/pin_stream.h"

namespace korvex {

// The five line calls over a pin stream, one exchange each, for what drives
// lines one at a time (the line probe, bus recovery). A set holds the other
// line where it stands; a status read is one tick that repeats the levels.
class StreamLines final : public ModemLines {
public:
    explicit StreamLines(PinStream& stream) : stream_(stream) {}
    void SetDtr() override { Put(levels_ | kTickDtr); }
    void ClearDtr() override { Put(levels_ & ~kTickDtr); }
    void SetRts() override { Put(levels_ | kTickRts); }
    void ClearRts() override { Put(levels_ & ~kTickRts); }
    std::uint32_t ReadModemStatus() override;
    PinStream& Stream() { return stream_; }

private:
    void Put(unsigned levels);
    PinStream& stream_;
    std::uint8_t levels_ = 0;
};

}  // namespace korvex
