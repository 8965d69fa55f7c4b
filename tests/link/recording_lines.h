#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "link/modem_lines.h"

namespace korvex::test {

// Lines with nothing on the cable: records every call and the line levels.
class RecordingLines final : public ModemLines {
public:
    void SetDtr() override { calls.push_back("SetDtr"); dtr = true; }
    void ClearDtr() override { calls.push_back("ClearDtr"); dtr = false; }
    void SetRts() override { calls.push_back("SetRts"); rts = true; }
    void ClearRts() override { calls.push_back("ClearRts"); rts = false; }
    std::uint32_t ReadModemStatus() override {
        calls.push_back("ReadModemStatus");
        return ctsOn ? kMsCtsOn : 0;
    }
    // Bus levels: an asserted output pulls its line low.
    bool ClockHigh() const { return !dtr; }
    bool DataHigh() const { return !rts; }

    std::vector<std::string> calls;
    bool dtr = false, rts = false, ctsOn = false;
};

}  // namespace korvex::test
