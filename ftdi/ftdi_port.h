#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "ftdi/ftdi_calls.h"
#include "link/pin_stream.h"
#include "link/profile.h"
#include "sim/port_factory.h"

namespace korvex {

// The pins the cable's lines are in bit-bang mode (FT232R: pin 2 DTR# is
// D4, pin 3 RTS# D2, pin 11 CTS# D3). An asserted line is a low pin, as in
// serial mode. TXD (D0) is held high, its idle level in serial mode.
inline constexpr unsigned char kPinTxd = 0x01;
inline constexpr unsigned char kPinRts = 0x04;
inline constexpr unsigned char kPinCts = 0x08;
inline constexpr unsigned char kPinDtr = 0x10;
inline constexpr unsigned char kOutputPins = kPinTxd | kPinRts | kPinDtr;
inline constexpr unsigned char kModeSyncBitBang = 0x04;
inline constexpr unsigned char kModeReset = 0x00;

// The tick rate the chip is set to unless told otherwise: 200 000 ticks a
// second keeps the bus clock under 70 kHz, far inside the memory's 400 kHz
// and slow enough for a cable's level shifters.
inline constexpr std::uint32_t kDefaultTickHz = 200000;
// The setting that chooses another: KORVEX_FTDI_TICK_HZ, from kMinTickHz to
// kMaxTickHz; anything else leaves the default.
inline constexpr const char* kTickHzVariable = "KORVEX_FTDI_TICK_HZ";
inline constexpr std::uint32_t kMinTickHz = 1000;
inline constexpr std::uint32_t kMaxTickHz = 1000000;
std::uint32_t TickHzSetting();
// The last samples of a batch come back at once, not after the chip's
// default 16 ms wait for a full packet.
inline constexpr unsigned char kLatencyTimerMs = 1;
// In bit-bang mode the chip ticks at 16 times the rate its baud divisor gives.
inline constexpr std::uint32_t kBitBangClockPerBaud = 16;
inline constexpr std::size_t kFtdiBatchTicks = 256;
// Reads that return nothing before a batch's samples are given up as a device gone.
inline constexpr int kMaxEmptyReads = 2000;

// "ftdi:first" or "ftdi:SERIAL".
inline constexpr std::string_view kFtdiFirst = "first";

// The pin stream of an opened chip: ticks become pin bytes, written and
// read back in chunks of the batch. A failed call throws CSerialException
// (the device gone: kPortGoneError) after giving the device back.
class FtdiStream final : public PinStream {
public:
    explicit FtdiStream(FtdiCalls& calls) : calls_(calls) {}
    std::size_t BatchTicks() const override { return kFtdiBatchTicks; }
    void Exchange(std::span<const std::uint8_t> ticks, std::span<std::uint8_t> samples) override;

private:
    FtdiCalls& calls_;
    std::vector<unsigned char> out_, in_;
};

// The pin byte a tick puts out.
unsigned char PinsOf(std::uint8_t tick);

// What opening an FTDI cable in bit-bang mode came to, in the program's
// words: what failed and what to do (close the programs using the port,
// install the udev rule, or use its COM port).
PortOpening OpenFtdiPort(const std::string& name, const Profile& profile, std::unique_ptr<FtdiCalls> calls);
// The same on MakeFtdiCalls(), for the port factory.
PortOpening OpenFtdiCable(const std::string& name, const Profile& profile);

// "FTDI FT232R (A50285BI)" for each chip present, with the port name it opens as.
struct FtdiPortEntry {
    std::string label;
    std::string name;  // "ftdi:A50285BI"
};
std::vector<FtdiPortEntry> FtdiPortsPresent(FtdiCalls& calls);

}  // namespace korvex
