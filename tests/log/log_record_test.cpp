#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "record_fixture.h"
#include "log/log_demo.h"
#include "log/log_record.h"

namespace korvex {
namespace {

// A record slot that names itself: byte 7 (zone or user) is its slot index.
LogSlotBytes Rec(int slot) { return {0x01, 0x01, 0x01, 0x00, 0x00, 0x30, 0x01, static_cast<std::uint8_t>(slot)}; }
LogSlotBytes Marker() { return {kLogMarker, 0x01, 0x01, 0x00, 0x00, 0x30, 0x01, 0x00}; }

LogRecord Fields(int month, int day, int hour, int minute, int id, int code, bool restore, int partition, int zone) {
    return test::MakeRecord(month, day, hour, minute, id, partition, code, restore, zone);
}

struct DecodeCase {
    const char* name;
    std::uint8_t fill;                               // every byte of the ring before the slots go in
    std::vector<std::pair<int, LogSlotBytes>> slots;
    std::vector<int> listedSlots;                    // expected, in listing order
    std::optional<LogRecord> first;                  // expected fields of the first listed record
};

std::vector<DecodeCase> DecodeCases() {
    std::vector<int> all(kLogSlots);
    for (int k = 0; k < static_cast<int>(kLogSlots); ++k) all[k] = k;
    return {
        {"erased ring", 0xFF, {}, {}, std::nullopt},
        {"zeroed buffer: every slot is a record of code 000", 0x00, {}, all,
         Fields(0, 0, 0, 0, 0, 0, false, 0, 0)},
        {"marker in slot 0", 0xFF, {{0, Marker()}, {1, Rec(1)}, {5, Rec(5)}, {111, Rec(111)}}, {1, 5, 111},
         std::nullopt},
        {"marker in slot 111 starts at slot 0", 0xFF,
         {{111, Marker()}, {0, Rec(0)}, {50, Rec(50)}, {110, Rec(110)}}, {0, 50, 110}, std::nullopt},
        {"marker in the middle wraps round", 0xFF,
         {{40, Marker()}, {41, Rec(41)}, {100, Rec(100)}, {0, Rec(0)}, {39, Rec(39)}}, {41, 100, 0, 39},
         std::nullopt},
        {"two markers: the lower one counts, the other is skipped", 0xFF,
         {{10, Marker()}, {60, Marker()}, {5, Rec(5)}, {11, Rec(11)}, {61, Rec(61)}, {70, Rec(70)}},
         {11, 61, 70, 5}, std::nullopt},
        {"no marker with records: slot 0 to slot 111", 0xFF, {{111, Rec(111)}, {37, Rec(37)}, {0, Rec(0)}},
         {0, 37, 111}, std::nullopt},
        {"upper nibble of byte 0 set: not a record", 0xFF,
         {{3, {0x10, 0x01, 0x01, 0, 0, 0x30, 0x01, 3}}, {4, Rec(4)}, {6, {0x80, 0, 0, 0, 0, 0, 0, 6}}}, {4},
         std::nullopt},
        {"month 15 is still a record", 0x00, {{0, {0x0F, 0, 0, 0, 0, 0, 0, 0}}}, all,
         Fields(15, 0, 0, 0, 0, 0, false, 0, 0)},
        {"date and time bits", 0xFF, {{0, {0x0C, 0xE5, 0x49, 0x12, 0x34, 0x30, 0x29, 0x03}}}, {0},
         Fields(12, 5, 9, 23, 0x1234, 130, true, 2, 3)},
        {"tens nibble 10 counts as 100", 0xFF, {{0, {0x01, 0, 0, 0, 0, 0xA5, 0x00, 0}}}, {0},
         Fields(1, 0, 0, 0, 0, 105, false, 0, 0)},
        {"every field at its top", 0xFF, {{0, {0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}}}, {0},
         Fields(15, 31, 31, 63, 0xFFFF, 865, true, 15, 255)},
        {"hundreds digit uses three bits only", 0xFF, {{0, {0x01, 0, 0, 0, 0, 0x54, 0x8E, 0}}}, {0},
         Fields(1, 0, 0, 0, 0, 654, true, 8, 0)},
    };
}

TEST(DecodeLog, Cases) {
    for (const DecodeCase& c : DecodeCases()) {
        SCOPED_TRACE(c.name);
        LogBytes ring;
        ring.fill(c.fill);
        for (const auto& [slot, bytes] : c.slots)
            std::copy(bytes.begin(), bytes.end(), ring.begin() + slot * kLogSlotSize);

        const std::vector<LogRecord> listed = DecodeLog(ring);
        std::vector<int> slots;
        for (std::size_t i = 0; i < listed.size(); ++i) {
            slots.push_back(listed[i].slot);
            EXPECT_EQ(listed[i].position, static_cast<int>(i) + 1);
            // Rec() slots carry their own index: the fields came from the slot listed.
            if (c.fill == 0xFF && !c.first) {
                EXPECT_EQ(listed[i].zoneOrUser, listed[i].slot);
            }
        }
        EXPECT_EQ(slots, c.listedSlots);
        if (c.first) {
            ASSERT_FALSE(listed.empty());
            LogRecord expected = *c.first;
            expected.position = 1;
            expected.slot = listed[0].slot;
            EXPECT_EQ(listed[0], expected);
        }
    }
}

TEST(EncodeLogRecord, EveryCodeAndFieldExtremeDecodesBack) {
    const LogRecord corners[] = {
        Fields(0, 0, 0, 0, 0, 0, false, 0, 0),
        Fields(15, 31, 31, 63, 0xFFFF, 0, true, 15, 255),
        Fields(12, 5, 9, 23, 0x1234, 0, true, 2, 3),
    };
    for (const LogRecord& corner : corners) {
        for (int code = 0; code <= kMaxEventCode; ++code) {
            LogRecord r = corner;
            r.eventCode = code;
            const LogSlotBytes bytes = EncodeLogRecord(r);
            ASSERT_TRUE(SlotHoldsRecord(bytes)) << code;
            ASSERT_EQ(DecodeLogRecord(bytes), r) << code;
            if (code <= 799) {
                // Plain decimal digits, as the module itself writes them.
                EXPECT_EQ(bytes[5], (code / 10 % 10) << 4 | code % 10) << code;
                EXPECT_EQ(bytes[6] & 0x07, code / 100) << code;
            }
        }
    }
}

TEST(EncodeLogRecord, RefusesFieldsThatDoNotFit) {
    const LogRecord ok = Fields(1, 1, 1, 1, 1, 130, false, 1, 1);
    const std::pair<const char*, LogRecord (*)(LogRecord)> bad[] = {
        {"month 16", [](LogRecord r) { r.month = 16; return r; }},
        {"day 32", [](LogRecord r) { r.day = 32; return r; }},
        {"hour 32", [](LogRecord r) { r.hour = 32; return r; }},
        {"minute 64", [](LogRecord r) { r.minute = 64; return r; }},
        {"code 866", [](LogRecord r) { r.eventCode = 866; return r; }},
        {"code -1", [](LogRecord r) { r.eventCode = -1; return r; }},
        {"partition 16", [](LogRecord r) { r.partition = 16; return r; }},
        {"zone 256", [](LogRecord r) { r.zoneOrUser = 256; return r; }},
    };
    EXPECT_NO_THROW(EncodeLogRecord(ok));
    for (const auto& [name, spoil] : bad) EXPECT_THROW(EncodeLogRecord(spoil(ok)), std::invalid_argument) << name;
}

TEST(BuildLogArea, ListsTheRecordsAfterItsMarker) {
    std::vector<LogRecord> records(kLogSlots - 1);
    for (std::size_t i = 0; i < records.size(); ++i)
        records[i] = Fields(static_cast<int>(i % 13), 1, 2, 3, static_cast<int>(i), static_cast<int>(i * 7 % 866),
                            i % 2 == 1, static_cast<int>(i % 16), static_cast<int>(i));
    const LogBytes area = BuildLogArea(records);
    EXPECT_EQ(area[0], kLogMarker);
    const std::vector<LogRecord> listed = DecodeLog(area);
    ASSERT_EQ(listed.size(), records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        LogRecord expected = records[i];
        expected.position = static_cast<int>(i) + 1;
        expected.slot = static_cast<int>(i) + 1;
        EXPECT_EQ(listed[i], expected);
    }
    records.push_back(records.front());
    EXPECT_THROW(BuildLogArea(records), std::invalid_argument);
}

TEST(DemoLog, CarriesRecordsOfEveryClass) {
    const std::vector<LogRecord> listed = DecodeLog(DemoLogArea());
    ASSERT_EQ(listed.size(), DemoLogRecords().size());
    bool alarm = false, restore = false, arming = false, trouble = false, test = false;
    for (const LogRecord& r : listed) {
        alarm |= r.eventCode / 100 == 1 && !r.restore;
        restore |= r.eventCode / 100 == 1 && r.restore;
        arming |= r.eventCode / 100 == 4;
        trouble |= r.eventCode / 100 == 3;
        test |= r.eventCode / 100 == 6;
    }
    EXPECT_TRUE(alarm && restore && arming && trouble && test);
}

}  // namespace
}  // namespace korvex
