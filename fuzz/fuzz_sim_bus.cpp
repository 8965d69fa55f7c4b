// The simulated module from any memory file, driven by random line
// operations and by bus transfers. Input: byte 0 the fault choice, then one
// operation per byte; the memory is the input repeated.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "link/two_wire_bus.h"
#include "link/serial_exception.h"
#include "sim/simulated_module.h"

using namespace korvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    SimulatedModule module;
    for (std::size_t i = 0; i < module.Memory().size(); ++i) module.Memory()[i] = data[i % size];
    auto& faults = module.GetFaults();
    faults.writeProtect = data[0] & 1;
    faults.absent = data[0] & 2;
    if (data[0] & 4) faults.flipReadAt = data[1] + 1u;
    if (data[0] & 8) faults.flipWriteAt = data[1] + 1u;
    if (data[0] & 16) faults.pullAfterCalls = 1000u + data[1] * 10u;
    TwoWireBus bus(module, module.Sleeper());
    try {
        for (std::size_t i = 1; i < size; ++i) {
            const std::uint8_t op = data[i];
            const auto address = static_cast<std::uint16_t>((op * 131u + i * 7u) & 0x7FFF);
            switch (op % 9) {
                case 0: module.SetDtr(); break;
                case 1: module.ClearDtr(); break;
                case 2: module.SetRts(); break;
                case 3: module.ClearRts(); break;
                case 4: module.ReadModemStatus(); break;
                case 5: {
                    std::uint8_t bytes[8];
                    bus.ReadSequential(address, bytes);
                    break;
                }
                case 6: {
                    const std::uint8_t bytes[3] = {op, static_cast<std::uint8_t>(i), 0x55};
                    bus.WritePaged(address, bytes);
                    break;
                }
                case 7: bus.Stop(); break;
                default: bus.Wait(); break;
            }
        }
    } catch (const CSerialException&) {
        if (!(data[0] & 16)) std::abort();  // only a pulled cable fails a line call
    }
    return 0;
}
