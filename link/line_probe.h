#pragma once
#include <chrono>
#include <cstdint>
#include <string>

#include "link/modem_lines.h"
#include "link/two_wire_bus.h"

namespace korvex {

// What a port's lines cost and how they answer, measured once when it opens.
struct LineProbe {
    enum class Verdict {
        Ok,
        CtsStuckOn,   // CTS reads on whatever RTS does: the module can never be read back
        CtsStuckOff,  // CTS never comes on: nothing powers the cable's data line
    };
    Verdict verdict = Verdict::Ok;
    std::string driver;               // the port's driver where the system tells it
    std::uint64_t setNs = 0;          // median of the timed line sets
    std::uint64_t readNs = 0;         // median of the timed status reads
    std::uint64_t statusDelayNs = 0;  // how long a data change may take to show on CTS
    bool liveStatus = true;           // every change showed on the first read after it
    bool pinStream = false;           // the bus drives the cable's pin stream (bit-bang), not its lines
    int sets = 0, reads = 0;          // calls the probe made

    bool Usable() const { return verdict != Verdict::CtsStuckOn; }
    // The fast timing's wait before a sample: the status delay with a tenth
    // to spare on a cached status, never below kMinGuard.
    std::chrono::microseconds Guard() const;
};

// Holds the clock line low, so the memory ignores the data line, toggles the
// data line `toggles` times and times each set and each status read until CTS
// follows. Leaves both lines high. Never clocks the memory.
LineProbe ProbeLines(ModemLines& lines, const ClockFn& clock, int toggles = 24);

// Brings the memory to rest whatever a cut-off transfer left it doing: the
// clock pulled low before anything else (a session cut off with the clock
// high over a low data line must not see the data released: that is a stop
// condition, which stores the unfinished page), nine clocks with the data
// line released (a memory sending a byte sees no acknowledge and stops),
// then a start (a write never finished is dropped) and a stop. Leaves both
// lines high; stores nothing, wherever the cut fell, within a bit too.
void RecoverBus(ModemLines& lines);

// The driver of a serial device as Linux names it (serial8250, ftdi_sio,
// ch341, pl2303, cp210x, cdc_acm); empty where the system does not say.
std::string PortDriverName(const std::string& devicePath);

// One line for people: kind, costs, delay, verdict.
std::string DescribeProbe(const LineProbe& probe);

}  // namespace korvex
