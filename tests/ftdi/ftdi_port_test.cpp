// The FTDI bit-bang port on a fake of the libftdi calls: libftdi's own
// failure codes become words that say what to do, the pins are the chip's,
// the samples come back in chunks, and a device that goes away mid-transfer
// is a port failure that gives the device back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "ftdi/ftdi_port.h"
#include "link/serial_exception.h"
#include "link/stream_lines.h"
#include "link/two_wire_bus.h"
#include "sim/port_bus.h"
#include "sim/simulated_module.h"

namespace korvex {
namespace {

// libftdi's calls on a chip in synchronous bit-bang mode wired to the
// simulated module as a cable wires it: each byte written reads the pins
// before it goes out, then drives DTR# and RTS#.
struct ChipLog {
    std::string openedSerial;
    int bitmodeOutputs = -1, bitmodeMode = -1, baud = 0, latencyMs = 0;
    std::vector<int> writeSizes;
    int closes = 0;
};

class FakeFtdi final : public FtdiCalls {
public:
    FakeFtdi(ChipLog& log, SimulatedModule& module) : log_(log), module_(module) {}
    int openResult = 0;
    int failWriteAfter = -1;  // writes that work before the device goes away
    int readAtMost = 100;     // USB packets: a read gives what has come
    std::vector<FtdiDevice> present;

    int FindAll(std::vector<FtdiDevice>& found) override {
        found = present;
        return static_cast<int>(present.size());
    }
    int Open(const std::string& serial) override {
        log_.openedSerial = serial;
        return openResult;
    }
    int SetBitmode(unsigned char outputs, unsigned char mode) override {
        log_.bitmodeOutputs = outputs;
        log_.bitmodeMode = mode;
        return 0;
    }
    int SetBaudrate(int baud) override {
        log_.baud = baud;
        return 0;
    }
    int SetLatencyTimer(unsigned char ms) override {
        log_.latencyMs = ms;
        return 0;
    }
    int Write(const unsigned char* data, int size) override {
        if (failWriteAfter >= 0 && static_cast<int>(log_.writeSizes.size()) >= failWriteAfter) return kFtdiDeviceGone;
        log_.writeSizes.push_back(size);
        for (int i = 0; i < size; ++i) {
            const bool ctsOn = (module_.ReadModemStatus() & kMsCtsOn) != 0;
            readings_.push_back(static_cast<unsigned char>(data[i] & ~kPinCts) | (ctsOn ? 0 : kPinCts));
            const bool dtr = !(data[i] & kPinDtr), rts = !(data[i] & kPinRts);
            if (dtr != dtr_) dtr ? module_.SetDtr() : module_.ClearDtr();
            if (rts != rts_) rts ? module_.SetRts() : module_.ClearRts();
            dtr_ = dtr;
            rts_ = rts;
            module_.Advance(5000);
        }
        return size;
    }
    int Read(unsigned char* data, int size) override {
        // Every other read finds nothing yet, as a read before the packet has come.
        if (std::exchange(empty_, !empty_)) return 0;
        int n = 0;
        for (; n < size && n < readAtMost && !readings_.empty(); ++n) {
            data[n] = readings_.front();
            readings_.pop_front();
        }
        return n;
    }
    int Close() override {
        ++log_.closes;
        return 0;
    }
    std::string ErrorString() override { return "libftdi's words"; }

private:
    ChipLog& log_;
    SimulatedModule& module_;
    std::deque<unsigned char> readings_;
    bool dtr_ = false, rts_ = false, empty_ = false;
};

void SetVariable(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value ? value : "");  // empty removes it
#else
    if (value) ::setenv(name, value, 1);
    else ::unsetenv(name);
#endif
}

class FtdiPort : public ::testing::Test {
protected:
    std::unique_ptr<FakeFtdi> Chip() { return std::make_unique<FakeFtdi>(log, module); }
    PortOpening Open(std::unique_ptr<FakeFtdi> chip, const std::string& name = "ftdi:A50285BI",
                     const Profile& profile = FullProfile()) {
        return OpenFtdiPort(name, profile, std::move(chip));
    }
    ChipLog log;
    SimulatedModule module;
};

TEST_F(FtdiPort, EveryFailureToOpenSaysWhatToDo) {
    struct Case {
        int code;
        const char* says;
    };
    const Case cases[] = {
        {kFtdiNotFound, "Такого кабеля FTDI нет: проверьте, что он вставлен, или выберите его COM порт"},
        {kFtdiCannotOpen, "установите правило udev из пакета (группа dialout)"},
        {kFtdiCannotClaim, "закройте программы, которые держат его COM порт, или выберите COM порт"},
        {kFtdiDetachFailed, "закройте программы, которые держат его COM порт, или выберите COM порт"},
        {-7, "Выберите COM порт кабеля: через него обмен идёт как прежде"},
    };
    for (const Case& c : cases) {
        auto chip = Chip();
        chip->openResult = c.code;
        const PortOpening opening = Open(std::move(chip));
        EXPECT_EQ(opening.failure, PortOpening::Failure::Port) << c.code;
        EXPECT_EQ(opening.port, nullptr);
        // The port, libftdi's own words and code, then what to do.
        EXPECT_EQ(opening.reason.rfind("ftdi:A50285BI: libftdi's words (" + std::to_string(c.code) + "). ", 0), 0u)
            << opening.reason;
        EXPECT_NE(opening.reason.find(c.says), std::string::npos) << opening.reason;
    }
    auto chip = Chip();
    chip->openResult = kFtdiNotFound;
    EXPECT_NE(Open(std::move(chip), "ftdi:first", CompactProfile()).reason.find("No such FTDI cable"),
              std::string::npos);
    EXPECT_EQ(log.openedSerial, "");  // the first chip found
    const PortOpening none = OpenFtdiPort("ftdi:first", FullProfile(), nullptr);
    EXPECT_NE(none.reason.find("выберите COM порт кабеля"), std::string::npos) << none.reason;
}

TEST_F(FtdiPort, AnOpenedCableRunsSynchronousBitBangAndGivesTheDeviceBack) {
    {
        PortOpening opening = Open(Chip());
        ASSERT_TRUE(opening.Ok()) << opening.reason;
        EXPECT_EQ(log.openedSerial, "A50285BI");
        EXPECT_EQ(log.bitmodeMode, kModeSyncBitBang);
        // DTR# (D4), RTS# (D2) and TXD (D0) out; CTS# (D3) in.
        EXPECT_EQ(log.bitmodeOutputs, 0x15);
        EXPECT_EQ(log.baud * 16, 200000);
        EXPECT_EQ(log.latencyMs, 1);
        EXPECT_NE(opening.port->Stream(), nullptr);
        EXPECT_EQ(log.closes, 0);
    }
    EXPECT_EQ(log.bitmodeMode, kModeReset);
    EXPECT_EQ(log.closes, 1);
}

// The tick rate is a setting: a rate in range is the chip's, anything else the default.
TEST_F(FtdiPort, TheTickRateIsASettingWithASafeDefault) {
    struct Case {
        const char* value;  // nullptr: not set
        int tickHz;
    };
    const Case cases[] = {{nullptr, 200000},   {"100000", 100000}, {"1000000", 1000000}, {"999", 200000},
                          {"2000000", 200000}, {"100k", 200000},   {"", 200000}};
    for (const Case& c : cases) {
        SetVariable(kTickHzVariable, c.value);
        ASSERT_TRUE(Open(Chip()).Ok());
        EXPECT_EQ(log.baud * 16, c.tickHz) << (c.value ? c.value : "unset");
    }
    SetVariable(kTickHzVariable, nullptr);
}

TEST_F(FtdiPort, ALineAssertedIsALowPin) {
    EXPECT_EQ(PinsOf(0), kPinTxd | kPinDtr | kPinRts);
    EXPECT_EQ(PinsOf(kTickDtr), kPinTxd | kPinRts);
    EXPECT_EQ(PinsOf(kTickRts | kTickSample), kPinTxd | kPinDtr);
}

TEST_F(FtdiPort, TheBusReadsAndWritesTheModuleThroughTheChipInChunks) {
    for (std::size_t i = 0; i < 300; ++i) module.Memory()[1000 + i] = static_cast<std::uint8_t>(i * 13 + 5);
    PortOpening opening = Open(Chip());
    ASSERT_TRUE(opening.Ok());
    PortBus portBus(*opening.port, BusTiming::Fast);
    EXPECT_TRUE(portBus.Probe().pinStream);
    EXPECT_EQ(portBus.Probe().verdict, LineProbe::Verdict::Ok);
    std::vector<std::uint8_t> got(300);
    portBus.Bus().ReadSequential(1000, got);
    for (std::size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], static_cast<std::uint8_t>(i * 13 + 5)) << i;
    const std::vector<std::uint8_t> data(100, 0x3C);
    portBus.Bus().WritePaged(2000, data);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), module.Memory().begin() + 2000));
    for (int size : log.writeSizes) EXPECT_LE(size, static_cast<int>(kFtdiBatchTicks));
}

TEST_F(FtdiPort, ADeviceGoneMidTransferIsAPortFailureAndTheDeviceIsGivenBack) {
    auto chip = Chip();
    FakeFtdi* fake = chip.get();
    PortOpening opening = Open(std::move(chip));
    ASSERT_TRUE(opening.Ok());
    PortBus portBus(*opening.port, BusTiming::Fast);
    fake->failWriteAfter = static_cast<int>(log.writeSizes.size()) + 3;
    std::vector<std::uint8_t> got(2000);
    try {
        portBus.Bus().ReadSequential(0, got);
        FAIL() << "the read went on without its device";
    } catch (const CSerialException& e) {
        EXPECT_EQ(e.Code(), kPortGoneError);
    }
    EXPECT_EQ(log.closes, 1);
}

TEST_F(FtdiPort, ThePortListShowsEachCableOnce) {
    FakeFtdi chip(log, module);
    chip.present = {{"FT232R", "A50285BI"}, {"FT232R", "A50285BI"}, {"FT-X", "DN01XYZ"}, {"FT232R", ""}};
    const std::vector<FtdiPortEntry> entries = FtdiPortsPresent(chip);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].label, "FTDI FT232R (A50285BI)");
    EXPECT_EQ(entries[0].name, "ftdi:A50285BI");
    EXPECT_EQ(entries[1].label, "FTDI FT-X (DN01XYZ)");
}

}  // namespace
}  // namespace korvex

namespace korvex {
namespace {

// libftdi (or D2XX) itself, asked for a chip no cable has: its own code for
// a device not found, and the words for it (a build or a machine without
// the library says to use the COM port). It enumerates and opens nothing.
TEST(FtdiLibrary, ACableThatIsNotThereIsNotFound) {
    const std::string name = "ftdi:KORVEX-NO-SUCH-CABLE";
    std::unique_ptr<FtdiCalls> calls = MakeFtdiCalls();
    const PortOpening opening = OpenFtdiCable(name, FullProfile());
    EXPECT_EQ(opening.failure, PortOpening::Failure::Port);
    if (!calls) {
        EXPECT_NE(opening.reason.find("нет библиотеки для прямой работы с FTDI"), std::string::npos) << opening.reason;
        return;
    }
    EXPECT_EQ(calls->Open("KORVEX-NO-SUCH-CABLE"), kFtdiNotFound) << calls->ErrorString();
    EXPECT_NE(opening.reason.find("(-3). Такого кабеля FTDI нет"), std::string::npos) << opening.reason;
    std::vector<FtdiDevice> found;
    EXPECT_GE(calls->FindAll(found), 0) << calls->ErrorString();
}

}  // namespace
}  // namespace korvex
