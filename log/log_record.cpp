#include "log/log_record.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace korvex {

LogRecord DecodeLogRecord(std::span<const std::uint8_t, kLogSlotSize> s) {
    LogRecord r;
    r.month = s[0] & 0x0F;
    r.day = s[1] & 0x1F;
    r.hour = s[2] & 0x1F;
    r.minute = (s[2] >> 5) * 8 + (s[1] >> 5);
    r.objectId = static_cast<std::uint16_t>(s[3] * 256 + s[4]);
    const int units = s[5] & 0x0F;
    const int tens = s[5] >> 4;
    const int hundreds = s[6] & 0x07;
    r.eventCode = hundreds * 100 + tens * 10 + units;
    r.restore = (s[6] & 0x08) != 0;
    r.partition = s[6] >> 4;
    r.zoneOrUser = s[7];
    return r;
}

std::vector<LogRecord> DecodeLog(std::span<const std::uint8_t, kLogSize> area) {
    auto slotAt = [&](std::size_t k) { return area.subspan(k * kLogSlotSize).first<kLogSlotSize>(); };
    std::size_t marker = 0;
    for (std::size_t k = 0; k < kLogSlots; ++k) {
        if (slotAt(k)[0] == kLogMarker) {
            marker = k;
            break;
        }
    }
    std::vector<LogRecord> records;
    for (std::size_t j = 0; j < kLogSlots; ++j) {
        const std::size_t k = (marker + j) % kLogSlots;
        const auto slot = slotAt(k);
        if (!SlotHoldsRecord(slot)) continue;
        LogRecord r = DecodeLogRecord(slot);
        r.slot = static_cast<int>(k);
        r.position = static_cast<int>(records.size()) + 1;
        records.push_back(r);
    }
    return records;
}

namespace {

void Require(bool ok, const char* what) {
    if (!ok) throw std::invalid_argument(std::string("log record field out of range: ") + what);
}

}  // namespace

LogSlotBytes EncodeLogRecord(const LogRecord& r) {
    Require(r.month >= 0 && r.month <= 15, "month");
    Require(r.day >= 0 && r.day <= 31, "day");
    Require(r.hour >= 0 && r.hour <= 31, "hour");
    Require(r.minute >= 0 && r.minute <= 63, "minute");
    Require(r.eventCode >= 0 && r.eventCode <= kMaxEventCode, "event code");
    Require(r.partition >= 0 && r.partition <= 15, "partition");
    Require(r.zoneOrUser >= 0 && r.zoneOrUser <= 255, "zone or user");

    // Plain digits where they suffice; above 799 the hundreds field is full
    // and the tens and units nibbles carry the rest (865 = 7, 15, 15).
    const int hundreds = std::min(r.eventCode / 100, 7);
    const int rest = r.eventCode - hundreds * 100;
    const int tens = std::min(rest / 10, 15);
    const int units = rest - tens * 10;

    LogSlotBytes s{};
    s[0] = static_cast<std::uint8_t>(r.month);
    s[1] = static_cast<std::uint8_t>(r.day | (r.minute & 0x07) << 5);
    s[2] = static_cast<std::uint8_t>(r.hour | (r.minute >> 3) << 5);
    s[3] = static_cast<std::uint8_t>(r.objectId >> 8);
    s[4] = static_cast<std::uint8_t>(r.objectId & 0xFF);
    s[5] = static_cast<std::uint8_t>(tens << 4 | units);
    s[6] = static_cast<std::uint8_t>(r.partition << 4 | (r.restore ? 0x08 : 0) | hundreds);
    s[7] = static_cast<std::uint8_t>(r.zoneOrUser);
    return s;
}

LogBytes BuildLogArea(std::span<const LogRecord> records) {
    if (records.size() > kLogSlots - 1) throw std::invalid_argument("more records than the log ring holds");
    LogBytes area;
    area.fill(0xFF);
    area[0] = kLogMarker;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const LogSlotBytes bytes = EncodeLogRecord(records[i]);
        std::copy(bytes.begin(), bytes.end(), area.begin() + (i + 1) * kLogSlotSize);
    }
    return area;
}

}  // namespace korvex
