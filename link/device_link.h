#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/bus_error.h"
#include "link/profile.h"
#include "link/progress.h"
#include "link/two_wire_bus.h"

namespace korvex {

// What a device operation came to. The caller picks the words.
// OtherProgram: the memory holds the other program's marker (a full module
// on the compact program, or the reverse). DamagedMarker: it holds neither
// program's marker and is not blank there either. Neither writes anything.
enum class LinkResult { Ok, NotConnected, UnknownType, Mismatch, OtherProgram, DamagedMarker };

struct [[nodiscard]] LinkOutcome {
    LinkResult result = LinkResult::Ok;
    std::uint32_t address = 0;  // memory address of the first difference (Mismatch)
    bool Ok() const { return result == LinkResult::Ok; }
};

// The text a program shows for an outcome (empty for Ok).
std::string_view OutcomeText(const Profile& profile, const LinkOutcome& outcome);
// The text for what the fast timing found on the bus.
std::string BusErrorText(const Profile& profile, const BusError& error);

// Marker at address 0: 16 bytes (full) or 64 bytes (compact), then 70 ms.
std::vector<std::uint8_t> ReadMarker(TwoWireBus& bus, const Profile& profile);
void WriteMarker(TwoWireBus& bus, const Profile& profile);

// Where a module check may write the marker: only into a blank memory, or,
// once the user has allowed it, over a damaged one too.
enum class MarkerWrite { BlankOnly, OverDamaged };
// Reads the marker: Ok when it is this program's. A memory blank where the
// marker goes (every byte 0xFF) is given the marker, then Ok when it reads
// back and NotConnected when not (nothing answers: every byte reads 0xFF).
// The other program's marker is OtherProgram and a memory with neither is
// DamagedMarker, and nothing is written, except that OverDamaged writes
// over a damaged marker as into a blank memory; never over the other
// program's.
LinkOutcome IdentifyDevice(TwoWireBus& bus, const Profile& profile, MarkerWrite write = MarkerWrite::BlankOnly);
// True when bytes 20..23 hold the type signature.
bool CheckDeviceType(TwoWireBus& bus);
// IdentifyDevice, then CheckDeviceType where the profile has one. A module
// that answers no address (fast timing) is not connected.
LinkOutcome CheckModule(TwoWireBus& bus, const Profile& profile, MarkerWrite write = MarkerWrite::BlankOnly);

// Raw transfers of the configuration image; no module checks.
void ReadConfig(TwoWireBus& bus, const Profile& profile, std::span<std::uint8_t> readImage, Progress& progress);
void WriteConfig(TwoWireBus& bus, const Profile& profile, std::span<const std::uint8_t> writeImage,
                 Progress& progress);
// The module program's check (verifyFrom..verifyEnd, with its status and
// bar), then the bytes a write sends beyond that range read back apart (the
// compact 766..767), so every byte written is compared. Stops at the first
// byte that differs and reports its address.
LinkOutcome VerifyConfig(TwoWireBus& bus, const Profile& profile, std::span<const std::uint8_t> writeImage,
                         Progress& progress);

// The 64-byte pages of the memory that a configuration write covers, as
// [first, end) image offsets (the first starts at profile.writeFrom).
struct ConfigRun {
    std::size_t first = 0, end = 0;
};
std::vector<ConfigRun> ConfigRuns(const Profile& profile);
// The runs whose bytes differ between the two images; every run when `known`
// is empty (nothing is known of what the module holds).
std::vector<ConfigRun> ChangedRuns(const Profile& profile, std::span<const std::uint8_t> writeImage,
                                   std::span<const std::uint8_t> known);
// Writes the given runs only, one page write each.
void WriteConfigRuns(TwoWireBus& bus, const Profile& profile, std::span<const std::uint8_t> writeImage,
                     const std::vector<ConfigRun>& runs, Progress& progress);

// Read data: module checks, then the read. Write data checks first too, but
// packs between the checks and the transfer, so WriteDataToModule is the
// write and its verification only.
LinkOutcome ReadDataFromModule(TwoWireBus& bus, const Profile& profile, std::span<std::uint8_t> readImage,
                               Progress& progress);
// With the fast timing and a `known` image (what the module held at the last
// read or verify, or a backup), only the runs that differ are written; every
// byte from writeFrom to the image's end is read back, written or not, so a
// `known` that was wrong is found, and a mismatch has its runs written once
// more with the standard timing and verified again before it is reported.
// The standard timing writes and verifies everything, whatever is known.
// On Ok the module holds every byte of the image from writeFrom on.
LinkOutcome WriteDataToModule(TwoWireBus& bus, const Profile& profile, std::span<const std::uint8_t> writeImage,
                              Progress& progress, std::span<const std::uint8_t> known = {});

}  // namespace korvex
