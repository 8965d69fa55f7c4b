#include "ftdi/ftdi_port.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "ftdi/ftdi_texts.h"
#include "link/serial_exception.h"

namespace korvex {

std::uint32_t TickHzSetting() {
    const char* text = std::getenv(kTickHzVariable);
    if (!text || !*text) return kDefaultTickHz;
    char* end = nullptr;
    const unsigned long hz = std::strtoul(text, &end, 10);
    if (*end != '\0' || hz < kMinTickHz || hz > kMaxTickHz) return kDefaultTickHz;
    return static_cast<std::uint32_t>(hz);
}

unsigned char PinsOf(std::uint8_t tick) {
    unsigned char pins = kPinTxd;
    if (!(tick & kTickDtr)) pins |= kPinDtr;
    if (!(tick & kTickRts)) pins |= kPinRts;
    return pins;
}

void FtdiStream::Exchange(std::span<const std::uint8_t> ticks, std::span<std::uint8_t> samples) {
    out_.resize(ticks.size());
    std::transform(ticks.begin(), ticks.end(), out_.begin(), PinsOf);
    in_.assign(ticks.size(), 0);
    auto gone = [this] {
        static_cast<void>(calls_.Close());  // the serial driver has the device back, if it is there
        throw CSerialException(kPortGoneError);
    };
    for (std::size_t done = 0; done < ticks.size();) {
        const int chunk = static_cast<int>(std::min(kFtdiBatchTicks, ticks.size() - done));
        if (calls_.Write(out_.data() + done, chunk) != chunk) gone();
        // Synchronous mode gives one reading per byte written.
        int got = 0, empty = 0;
        while (got < chunk) {
            const int n = calls_.Read(in_.data() + done + got, chunk - got);
            if (n < 0) gone();
            if (n == 0 && ++empty > kMaxEmptyReads) gone();
            got += n;
        }
        done += static_cast<std::size_t>(chunk);
    }
    // CTS# low is CTS on.
    for (std::size_t i = 0; i < ticks.size(); ++i) samples[i] = (in_[i] & kPinCts) ? 0 : 1;
}

namespace {

class FtdiModulePort final : public ModulePort {
public:
    explicit FtdiModulePort(std::unique_ptr<FtdiCalls> calls) : calls_(std::move(calls)), stream_(*calls_) {}
    ~FtdiModulePort() override {
        // Out of bit-bang mode, then the serial driver takes the chip again.
        static_cast<void>(calls_->SetBitmode(0, kModeReset));
        static_cast<void>(calls_->Close());
    }
    // The bus drives the stream; these lines are the stream's too.
    ModemLines& Lines() override { return lines_; }
    SleepFn Sleeper() override { return RealSleep(); }
    ClockFn Clock() override { return RealClock(); }
    std::string Driver() override { return "ftdi bit-bang"; }
    PinStream* Stream() override { return &stream_; }

private:
    // Never driven: PortBus puts its own StreamLines over Stream().
    class NoLines final : public ModemLines {
    public:
        void SetDtr() override {}
        void ClearDtr() override {}
        void SetRts() override {}
        void ClearRts() override {}
        std::uint32_t ReadModemStatus() override { return 0; }
    };
    std::unique_ptr<FtdiCalls> calls_;
    FtdiStream stream_;
    NoLines lines_;
};

}  // namespace

PortOpening OpenFtdiPort(const std::string& name, const Profile& profile, std::unique_ptr<FtdiCalls> calls) {
    const FtdiTexts& texts = FtdiTextsFor(profile);
    PortOpening opening;
    opening.failure = PortOpening::Failure::Port;
    if (!calls) {
        opening.reason = name + ": " + std::string(texts.noBackEnd);
        return opening;
    }
    std::string serial = name.substr(std::min(name.size(), kFtdiPortPrefix.size()));
    if (serial == kFtdiFirst) serial.clear();
    const int opened = calls->Open(serial);
    if (opened < 0) {
        const std::string said = name + ": " + calls->ErrorString() + " (" + std::to_string(opened) + "). ";
        switch (opened) {
            case kFtdiNotFound: opening.reason = said + std::string(texts.notFound); break;
            case kFtdiCannotOpen: opening.reason = said + std::string(texts.noPermission); break;
            case kFtdiCannotClaim:
            case kFtdiDetachFailed: opening.reason = said + std::string(texts.detachRefused); break;
            default: opening.reason = said + std::string(texts.useComPort); break;
        }
        return opening;
    }
    const int tickBaud = static_cast<int>(TickHzSetting() / kBitBangClockPerBaud);
    if (calls->SetBitmode(kOutputPins, kModeSyncBitBang) < 0 || calls->SetBaudrate(tickBaud) < 0 ||
        calls->SetLatencyTimer(kLatencyTimerMs) < 0) {
        opening.reason = name + ": " + calls->ErrorString() + ". " + std::string(texts.useComPort);
        static_cast<void>(calls->Close());
        return opening;
    }
    opening.failure = PortOpening::Failure::None;
    opening.port = std::make_unique<FtdiModulePort>(std::move(calls));
    return opening;
}

PortOpening OpenFtdiCable(const std::string& name, const Profile& profile) {
    return OpenFtdiPort(name, profile, MakeFtdiCalls());
}

std::vector<FtdiPortEntry> FtdiPortsPresent(FtdiCalls& calls) {
    std::vector<FtdiDevice> found;
    std::vector<FtdiPortEntry> entries;
    if (calls.FindAll(found) < 0) return entries;
    for (const FtdiDevice& d : found) {
        if (d.serial.empty()) continue;  // only a chip with a serial can be named again
        const bool again = std::any_of(entries.begin(), entries.end(), [&](const FtdiPortEntry& e) {
            return e.name == std::string(kFtdiPortPrefix) + d.serial;
        });
        if (again) continue;
        entries.push_back({"FTDI " + d.chip + " (" + d.serial + ")", std::string(kFtdiPortPrefix) + d.serial});
    }
    return entries;
}

}  // namespace korvex
