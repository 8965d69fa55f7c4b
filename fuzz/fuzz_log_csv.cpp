// Log decoding through to the page's rows and the CSV export, on any ring.
// Input: byte 0 bit 0 shows the event codes; the rest is the 896-byte ring
// (repeated to fill it).
#include <cstdint>
#include <cstdlib>
#include <span>

#include "log/log_csv.h"
#include "log/log_record.h"
#include "log/log_rows.h"

using namespace korvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const bool showCodes = data[0] & 1;
    std::array<std::uint8_t, kLogSize> ring{};
    for (std::size_t i = 0; i < ring.size(); ++i) ring[i] = data[1 + i % (size - 1)];

    const std::vector<LogRecord> records = DecodeLog(ring);
    if (records.size() > kLogSize / kLogSlotSize) std::abort();
    const std::vector<LogRow> rows = MakeLogRows(records, showCodes, Language::Russian);
    if (rows.size() != records.size()) std::abort();
    // Every row the module can hold has a code in 1251, so it exports.
    if (!LogCsvBytes(rows).Ok()) std::abort();
    return 0;
}
