#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "link/serial_exception.h"
#include "log/log_demo.h"
#include "log/log_rows.h"
#include "log/log_transfer.h"
#include "sim/simulated_module.h"

namespace korvex {
namespace {

class RecordingProgress final : public Progress {
public:
    void SetRange(int lo, int hi) override { range = {lo, hi}; }
    void SetPos(int pos) override { positions.push_back(pos); }
    void SetStatus(const std::string&) override {}
    void Show() override { visible = true; }
    void Hide() override { visible = false; }
    std::pair<int, int> range{};
    std::vector<int> positions;
    bool visible = false;
};

std::vector<int> Steps(int step) {
    std::vector<int> positions;
    for (int i = 0; i < static_cast<int>(kLogSize); i += step) positions.push_back(i);
    return positions;
}

// The listing an earlier read left, which a failed read or erase must keep.
struct EarlierListing {
    EarlierListing() {
        records[0].eventCode = 777;
        raw.fill(0xA5);
    }
    void ExpectKept(const std::vector<LogRecord>& nowRecords, const LogBytes& nowRaw) const {
        EXPECT_EQ(nowRecords, records);
        EXPECT_EQ(nowRaw, raw);
    }
    std::vector<LogRecord> records = std::vector<LogRecord>(1);
    LogBytes raw{};
};

class LogTransfer : public testing::Test {
protected:
    LogTransfer() {
        const Profile& p = FullProfile();
        std::copy(p.marker.begin(), p.marker.end(), sim.Memory().begin());
        std::copy(std::begin(kDeviceTypeSignature), std::end(kDeviceTypeSignature), sim.Memory().begin() + 20);
    }
    void PutRing(const LogBytes& ring) { std::copy(ring.begin(), ring.end(), sim.Memory().begin() + kLogAddress); }
    bool RingIs(const LogBytes& ring) const {
        return std::equal(ring.begin(), ring.end(), sim.Memory().begin() + kLogAddress);
    }

    const Profile& profile = FullProfile();
    SimulatedModule sim;
    int waits = 0;
    TwoWireBus bus{sim, [this](std::chrono::microseconds ms) {
                       if (ms == kWriteCycleWait) ++waits;
                       sim.Sleeper()(ms);
                   }};
};

TEST_F(LogTransfer, ReadsTheRingAsTheListingShowsIt) {
    PutRing(DemoLogArea());
    // Neighbours that must not leak into the listing.
    sim.Memory()[kLogAddress - 1] = 0x01;
    sim.Memory()[kLogAddress + kLogSize] = 0x01;

    RecordingProgress progress;
    std::vector<LogRecord> records(3);
    LogBytes raw{};
    ASSERT_TRUE(ReadLog(bus, profile, progress, records, raw).Ok());
    EXPECT_TRUE(RingIs(raw));

    const auto rows = MakeLogRows(records, false, Language::Russian);
    ASSERT_EQ(rows.size(), DemoLogRecords().size());
    EXPECT_EQ(rows[1], (LogRow{"2", "02:41", "05 декабрь", "1234", "01", "Тревога в зоне 'периметр'", "02"}));
    EXPECT_EQ(rows[4], (LogRow{"5", "11:07", "05 декабрь", "1234", "01", "Сетевое питание в норме", " "}));

    EXPECT_EQ(progress.range, std::make_pair(0, 896));
    std::vector<int> expected = {0};
    for (int pos : Steps(20)) expected.push_back(pos);
    expected.push_back(0);
    EXPECT_EQ(progress.positions, expected);
    EXPECT_FALSE(progress.visible);
}

TEST_F(LogTransfer, EraseLeavesAnEmptyListingAndTouchesNothingElse) {
    PutRing(DemoLogArea());
    auto expected = sim.Memory();
    std::fill(expected.begin() + kLogAddress, expected.begin() + kLogAddress + kLogSize, 0xFF);

    NullProgress idle;
    ASSERT_TRUE(CheckModule(bus, profile).Ok());
    const int checkWaits = waits;
    const auto cyclesBefore = sim.WriteCycles();
    waits = 0;

    RecordingProgress progress;
    ASSERT_TRUE(ClearLog(bus, profile, progress).Ok());
    EXPECT_EQ(sim.Memory(), expected);
    EXPECT_EQ(sim.WriteCycles() - cyclesBefore, 14u);
    EXPECT_EQ(waits - checkWaits, 14 + 1);  // one per page and one at the end

    EXPECT_EQ(progress.range, std::make_pair(0, 896));
    std::vector<int> positions = {0};
    for (int pos : Steps(10)) positions.push_back(pos);
    positions.push_back(0);
    EXPECT_EQ(progress.positions, positions);

    std::vector<LogRecord> records(2);
    ASSERT_TRUE(ReadLog(bus, profile, idle, records).Ok());
    EXPECT_TRUE(records.empty());
}

// A write-protected module takes the writes and keeps its records: the
// read-back tells, with the first address still holding a record.
TEST_F(LogTransfer, AClearThatDidNotTakeIsAMismatch) {
    const LogBytes ring = DemoLogArea();
    PutRing(ring);
    const auto before = sim.Memory();
    sim.GetFaults().writeProtect = true;
    NullProgress idle;
    const LinkOutcome outcome = ClearLog(bus, profile, idle);
    EXPECT_EQ(outcome.result, LinkResult::Mismatch);
    const auto firstRecordByte = std::find_if(ring.begin(), ring.end(), [](std::uint8_t b) { return b != 0xFF; });
    ASSERT_NE(firstRecordByte, ring.end());
    EXPECT_EQ(outcome.address, kLogAddress + static_cast<std::uint32_t>(firstRecordByte - ring.begin()));
    EXPECT_EQ(sim.Memory(), before);
}

TEST_F(LogTransfer, RefusedModuleLeavesListRawAndRingAlone) {
    struct Case {
        const char* name;
        void (*spoil)(SimulatedModule&);
        const Profile& profile;
        LinkResult result;
    } const cases[] = {
        {"another type", [](SimulatedModule& s) { s.Memory()[23] ^= 0xFF; }, FullProfile(), LinkResult::UnknownType},
        {"no module", [](SimulatedModule& s) { s.GetFaults().absent = true; }, FullProfile(),
         LinkResult::NotConnected},
        {"a module without a log", [](SimulatedModule&) {}, CompactProfile(), LinkResult::UnknownType},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedModule module;
        module.Memory() = sim.Memory();
        const LogBytes ring = DemoLogArea();
        std::copy(ring.begin(), ring.end(), module.Memory().begin() + kLogAddress);
        c.spoil(module);
        const auto before = module.Memory();
        TwoWireBus moduleBus(module, module.Sleeper());

        const EarlierListing earlier;
        std::vector<LogRecord> records = earlier.records;
        LogBytes raw = earlier.raw;
        RecordingProgress progress;

        EXPECT_EQ(ReadLog(moduleBus, c.profile, progress, records, raw).result, c.result);
        earlier.ExpectKept(records, raw);
        EXPECT_EQ(ClearLog(moduleBus, c.profile, progress).result, c.result);
        EXPECT_TRUE(std::equal(module.Memory().begin() + kLogAddress, module.Memory().begin() + kLogAddress + kLogSize,
                               before.begin() + kLogAddress));
        EXPECT_TRUE(progress.positions.empty());
    }
}

TEST_F(LogTransfer, PortFailureMidReadKeepsTheLastListing) {
    PutRing(DemoLogArea());
    const EarlierListing earlier;
    std::vector<LogRecord> records = earlier.records;
    LogBytes raw = earlier.raw;
    NullProgress progress;
    ASSERT_TRUE(CheckModule(bus, profile).Ok());
    sim.GetFaults().pullAfterCalls = sim.GetCounters().Total() + 30000;  // about halfway through the ring read
    EXPECT_THROW(static_cast<void>(ReadLog(bus, profile, progress, records, raw)), CSerialException);
    earlier.ExpectKept(records, raw);
}

}  // namespace
}  // namespace korvex
