#include <gtest/gtest.h>

#include <vector>

#include "voice/voice_store.h"

namespace korvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(VoiceDirectory, DecodesEntries) {
    struct Case {
        const char* name;
        Bytes bytes;
        DirectoryEntry want;
    };
    const Case cases[] = {
        {"high byte stored plus one", {0x34, 0x13, 0x00, 0x08, 1}, {0x1234, 2048, 22050}},
        {"stored high byte 0 reads as 0, not 255", {0x10, 0x00, 0x00, 0x08, 2}, {0x0010, 2048, 16000}},
        {"length kept to 15 bits", {0xFF, 0xFF, 0x00, 0x08, 3}, {0x7EFF, 2048, 11025}},
        {"start kept to 15 bits", {0x00, 0x01, 0x34, 0x92, 1}, {0, 0x1234, 22050}},
        {"any other rate code is 22050", {0x00, 0x01, 0x00, 0x08, 0}, {0, 2048, 22050}},
        {"rate code 255", {0x00, 0x01, 0x00, 0x08, 255}, {0, 2048, 22050}},
    };
    for (const auto& c : cases) {
        const DirectoryEntry e = DecodeDirectoryEntry(c.bytes, true);
        EXPECT_EQ(e.length, c.want.length) << c.name;
        EXPECT_EQ(e.start, c.want.start) << c.name;
        EXPECT_EQ(e.rate, c.want.rate) << c.name;
    }
}

TEST(VoiceDirectory, EncodesEntries) {
    struct Case {
        DirectoryEntry entry;
        Bytes want;
    };
    const Case cases[] = {
        {{0x1234, 0x0864, 22050}, {0x34, 0x13, 0x64, 0x08, 1}},
        {{0, 2048, 16000}, {0x00, 0x01, 0x00, 0x08, 2}},
        {{30720, 2048, 11025}, {0x00, 0x79, 0x00, 0x08, 3}},
        {{100, 2048, 0}, {0x64, 0x01, 0x00, 0x08, 1}},  // never loaded: code 1
        {{100, 2048, 8000}, {0x64, 0x01, 0x00, 0x08, 1}},
    };
    for (const auto& c : cases) {
        Bytes out(5, 0xEE);
        EncodeDirectoryEntry(c.entry, true, out);
        EXPECT_EQ(out, c.want) << c.entry.length;
        const DirectoryEntry back = DecodeDirectoryEntry(out, true);
        EXPECT_EQ(back.length, c.entry.length);
        EXPECT_EQ(back.start, c.entry.start);
    }
    // The compact entry has no rate byte and leaves the byte after it alone.
    Bytes compact(5, 0xEE);
    EncodeDirectoryEntry({64, 832, 22050}, false, compact);
    EXPECT_EQ(compact, (Bytes{0x40, 0x01, 0x40, 0x03, 0xEE}));
    EXPECT_EQ(DecodeDirectoryEntry(compact, false).rate, 22050);
}

TEST(VoiceStore, StartsFilledAndEmpty) {
    for (const Profile* p : {&FullProfile(), &CompactProfile()}) {
        VoiceStore store(*p);
        ASSERT_EQ(store.slotLength.size(), static_cast<std::size_t>(p->slotCount));
        for (int s = 0; s < store.SlotCount(); ++s) {
            const auto area = store.Area(s);
            ASSERT_EQ(area.size(), 32768u);
            EXPECT_TRUE(std::all_of(area.begin(), area.end(), [](std::uint8_t b) { return b == 85; }));
            EXPECT_EQ(store.slotLength[s], 0);
        }
        // Nothing loaded: the full store has no rate yet, the compact one always 22050.
        EXPECT_EQ(store.slotRate[0], p->kind == ModuleKind::Full ? 0 : 22050);
    }
}

TEST(VoiceStore, LaysSlotsOutBackToBack) {
    VoiceStore full(FullProfile());
    full.slotLength = {100, 0, 50, 0, 0, 7};
    LayOutSlots(full);
    EXPECT_EQ(full.slotStart, (std::vector<std::uint16_t>{2048, 2148, 2148, 2198, 2198, 2198}));

    VoiceStore compact(CompactProfile());
    compact.slotLength = {64, 128, 0};
    LayOutSlots(compact);
    EXPECT_EQ(compact.slotStart, (std::vector<std::uint16_t>{832, 896, 1024}));
}

TEST(VoiceStore, CompactDirectoryCarriesTheSpareEntryAndFiller) {
    VoiceStore store(CompactProfile());
    store.slotLength = {64, 128, 0};
    LayOutSlots(store);

    // Nothing read yet: the fourth entry is an empty slot after the three.
    Bytes dir = EncodeDirectory(store);
    ASSERT_EQ(dir.size(), 16u + 47u);
    EXPECT_EQ(Bytes(dir.begin(), dir.begin() + 16),
              (Bytes{0x40, 0x01, 0x40, 0x03, 0x80, 0x01, 0x80, 0x03, 0x00, 0x01, 0x00, 0x04, 0x00, 0x01, 0x00, 0x04}));
    EXPECT_TRUE(std::all_of(dir.begin() + 16, dir.end(), [](std::uint8_t b) { return b == 85; }));

    // After a read the fourth entry goes back as it was read.
    Bytes read = dir;
    read[12] = 0x21;
    read[13] = 0x05;
    read[14] = 0x99;
    read[15] = 0x12;
    DecodeDirectory(std::span(read).first(16), store);
    ASSERT_TRUE(store.spareEntry.has_value());
    EXPECT_EQ(store.spareEntry->length, 0x0421);
    EXPECT_EQ(store.spareEntry->start, 0x1299);
    dir = EncodeDirectory(store);
    EXPECT_EQ(Bytes(dir.begin() + 12, dir.begin() + 16), (Bytes{0x21, 0x05, 0x99, 0x12}));
}

TEST(VoiceStore, CapacityFiguresCountEverySlot) {
    struct Case {
        const Profile* profile;
        std::vector<std::uint16_t> lengths;
        std::uint32_t barPos;
        const char* text;
    };
    const Case cases[] = {
        {&FullProfile(), {0, 0, 0, 0, 0, 0}, 0, "Свободно 30 кБайт"},
        {&FullProfile(), {1000, 0, 0, 0, 0, 124}, 1124, "Свободно 28 кБайт"},
        {&FullProfile(), {30720, 0, 0, 0, 0, 0}, 30720, "Свободно 0 кБайт"},
        // Whole KiB: 1023 bytes free are none, 1024 are one.
        {&FullProfile(), {29697, 0, 0, 0, 0, 0}, 29697, "Свободно 0 кБайт"},
        {&FullProfile(), {29696, 0, 0, 0, 0, 0}, 29696, "Свободно 1 кБайт"},
        // Lengths from a module may add up past the capacity: nothing free.
        {&FullProfile(), {30000, 30000, 0, 0, 0, 0}, 30720, "Свободно 0 кБайт"},
        {&CompactProfile(), {0, 0, 0}, 0, "31 KByte are free"},
        {&CompactProfile(), {640, 64, 0}, 704, "30 KByte are free"},
        {&CompactProfile(), {32000, 64, 0}, 32000, "0 KByte are free"},
    };
    for (const auto& c : cases) {
        VoiceStore store(*c.profile);
        store.slotLength = c.lengths;
        const FreeMemory m = ShowFreeMemory(store);
        EXPECT_EQ(m.capacity, c.profile->capacity);
        EXPECT_EQ(m.barPos, c.barPos);
        EXPECT_EQ(m.text, c.text);
    }
    VoiceStore store(FullProfile());
    store.slotLength = {10, 20, 30, 40, 50, 60};
    EXPECT_EQ(store.Used(), 210u);
    EXPECT_EQ(store.UsedByOthers(2), 180u);
}

}  // namespace
}  // namespace korvex
