#include "link/device_link.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace korvex {

std::string_view OutcomeText(const Profile& profile, const LinkOutcome& outcome) {
    switch (outcome.result) {
        case LinkResult::Ok: return {};
        case LinkResult::NotConnected: return profile.texts.notConnected;
        case LinkResult::UnknownType: return profile.texts.unknownType;
        case LinkResult::Mismatch: return profile.texts.writeError;
        case LinkResult::OtherProgram: return profile.texts.otherProgram;
        case LinkResult::DamagedMarker: return profile.texts.damagedMarker;
    }
    return {};
}

std::string BusErrorText(const Profile& profile, const BusError& error) {
    switch (error.GetKind()) {
        case BusError::Kind::NoAnswer: return std::string(profile.texts.notConnected);
        case BusError::Kind::Refused:
            return std::string(profile.texts.byteRefused) + " " + std::to_string(error.Address());
        case BusError::Kind::WriteCycleTimeout:
            return std::string(profile.texts.writeCycleTimeout) + " " + std::to_string(error.Address());
    }
    return error.what();
}

namespace {

// Reads n bytes at address; the compact module keeps the byte clocked with
// the final nack as the n-th byte, the full one reads n with acknowledge.
void ReadBlock(TwoWireBus& bus, const Profile& profile, std::uint16_t address, std::span<std::uint8_t> out,
               const std::function<void(std::size_t)>& onByte = {}) {
    if (out.empty()) return;
    if (profile.nackKeepsLastByte) {
        const std::uint8_t last = bus.ReadSequential(address, out.first(out.size() - 1), onByte);
        out.back() = last;
        if (onByte) onByte(out.size() - 1);
    } else {
        bus.ReadSequential(address, out, onByte);
    }
}

class ProgressScope {
public:
    ProgressScope(Progress& p, int max, std::string_view status) : p_(p) {
        p_.SetRange(0, max);
        p_.SetPos(0);
        p_.SetStatus(std::string(status));
        p_.Show();
    }
    // A port failure leaves the bar as it stood, as the window expects.
    void Done() {
        p_.SetPos(0);
        p_.Hide();
    }

private:
    Progress& p_;
};

}  // namespace

std::vector<std::uint8_t> ReadMarker(TwoWireBus& bus, const Profile& profile) {
    std::vector<std::uint8_t> marker(profile.marker.size());
    ReadBlock(bus, profile, 0, marker);
    bus.Wait();
    return marker;
}

void WriteMarker(TwoWireBus& bus, const Profile& profile) {
    bus.BeginWrite(0);
    for (std::uint8_t b : profile.marker) bus.WriteByte(b);
    bus.Stop();
    bus.Wait();
}

LinkOutcome IdentifyDevice(TwoWireBus& bus, const Profile& profile, MarkerWrite write) {
    // Compared as far as both run: the full marker is the first 16 bytes
    // the compact program reads, the compact one's first 16 all the full reads.
    auto begins = [](const std::vector<std::uint8_t>& held, std::span<const std::uint8_t> marker) {
        const std::size_t n = std::min(held.size(), marker.size());
        return std::equal(held.begin(), held.begin() + static_cast<std::ptrdiff_t>(n), marker.begin());
    };
    const std::vector<std::uint8_t> held = ReadMarker(bus, profile);
    if (begins(held, profile.marker)) return {};
    const Profile& other = ProfileFor(profile.kind == ModuleKind::Full ? ModuleKind::Compact : ModuleKind::Full);
    if (begins(held, other.marker)) return {LinkResult::OtherProgram};
    const bool blank = std::all_of(held.begin(), held.end(), [](std::uint8_t b) { return b == 0xFF; });
    if (!blank && write != MarkerWrite::OverDamaged) return {LinkResult::DamagedMarker};
    WriteMarker(bus, profile);
    if (begins(ReadMarker(bus, profile), profile.marker)) return {};
    return {LinkResult::NotConnected};
}

bool CheckDeviceType(TwoWireBus& bus) {
    std::uint8_t sig[4];
    bus.ReadSequential(20, sig);
    return std::equal(std::begin(sig), std::end(sig), std::begin(kDeviceTypeSignature));
}

LinkOutcome CheckModule(TwoWireBus& bus, const Profile& profile, MarkerWrite write) {
    try {
        if (const LinkOutcome identified = IdentifyDevice(bus, profile, write); !identified.Ok()) return identified;
        if (profile.checksType && !CheckDeviceType(bus)) return {LinkResult::UnknownType};
    } catch (const BusError& e) {
        if (e.GetKind() != BusError::Kind::NoAnswer) throw;
        return {LinkResult::NotConnected};
    }
    return {};
}

void ReadConfig(TwoWireBus& bus, const Profile& profile, std::span<std::uint8_t> readImage, Progress& progress) {
    ProgressScope scope(progress, profile.readBarMax, profile.texts.readingConfig);
    const auto image = readImage.first(std::min(readImage.size(), profile.imageSize));
    std::fill(readImage.begin(), readImage.end(), 0);
    ReadBlock(bus, profile, 0, image, [&](std::size_t i) {
        if (i % static_cast<std::size_t>(profile.readBarStep) == 0) progress.SetPos(static_cast<int>(i));
    });
    scope.Done();
}

void WriteConfig(TwoWireBus& bus, const Profile& profile, std::span<const std::uint8_t> writeImage,
                 Progress& progress) {
    ProgressScope scope(progress, profile.writeBarMax, profile.texts.writingConfig);
    const std::size_t from = profile.writeFrom;
    const auto data = writeImage.subspan(from, profile.imageSize - from);
    bus.WritePaged(static_cast<std::uint16_t>(from), data, [&](std::size_t i) {
        const std::size_t at = from + i;
        if (at % static_cast<std::size_t>(profile.writeBarStep) == 0) progress.SetPos(static_cast<int>(at));
    });
    scope.Done();
}

LinkOutcome VerifyConfig(TwoWireBus& bus, const Profile& profile, std::span<const std::uint8_t> writeImage,
                         Progress& progress) {
    ProgressScope scope(progress, profile.verifyBarMax, profile.texts.checkingConfig);
    LinkOutcome outcome;
    bus.BeginRead(static_cast<std::uint16_t>(profile.verifyFrom));
    for (std::size_t i = profile.verifyFrom; i < profile.verifyEnd; ++i) {
        if (bus.ReadByteAck() != writeImage[i]) {
            outcome = {LinkResult::Mismatch, static_cast<std::uint32_t>(i)};
            break;
        }
        if (i % static_cast<std::size_t>(profile.verifyBarStep) == 0) progress.SetPos(static_cast<int>(i));
    }
    bus.ReadByteNack();
    bus.Stop();
    // The module program's check stops short of the last bytes a write
    // sends (the compact 766..767, the last character of text 8): they are
    // read apart, so that no byte written goes unchecked.
    for (const auto& [first, end] :
         {std::pair{profile.writeFrom, profile.verifyFrom}, std::pair{profile.verifyEnd, profile.imageSize}}) {
        if (!outcome.Ok() || first >= end) continue;
        std::vector<std::uint8_t> held(end - first);
        ReadBlock(bus, profile, static_cast<std::uint16_t>(first), held);
        for (std::size_t i = first; i < end; ++i) {
            if (held[i - first] != writeImage[i]) {
                outcome = {LinkResult::Mismatch, static_cast<std::uint32_t>(i)};
                break;
            }
        }
    }
    scope.Done();
    return outcome;
}

LinkOutcome ReadDataFromModule(TwoWireBus& bus, const Profile& profile, std::span<std::uint8_t> readImage,
                               Progress& progress) {
    LinkOutcome check = CheckModule(bus, profile);
    if (!check.Ok()) return check;
    ReadConfig(bus, profile, readImage, progress);
    return {};
}

std::vector<ConfigRun> ConfigRuns(const Profile& profile) {
    std::vector<ConfigRun> runs;
    for (std::size_t first = profile.writeFrom; first < profile.imageSize;) {
        const std::size_t end = std::min(profile.imageSize, (first / 64 + 1) * 64);
        runs.push_back({first, end});
        first = end;
    }
    return runs;
}

std::vector<ConfigRun> ChangedRuns(const Profile& profile, std::span<const std::uint8_t> writeImage,
                                   std::span<const std::uint8_t> known) {
    std::vector<ConfigRun> runs = ConfigRuns(profile);
    if (known.size() < profile.imageSize) return runs;
    std::erase_if(runs, [&](const ConfigRun& r) {
        return std::equal(writeImage.begin() + static_cast<std::ptrdiff_t>(r.first),
                          writeImage.begin() + static_cast<std::ptrdiff_t>(r.end),
                          known.begin() + static_cast<std::ptrdiff_t>(r.first));
    });
    return runs;
}

void WriteConfigRuns(TwoWireBus& bus, const Profile& profile, std::span<const std::uint8_t> writeImage,
                     const std::vector<ConfigRun>& runs, Progress& progress) {
    ProgressScope scope(progress, profile.writeBarMax, profile.texts.writingConfig);
    for (const ConfigRun& run : runs) {
        bus.WritePaged(static_cast<std::uint16_t>(run.first), writeImage.subspan(run.first, run.end - run.first));
        progress.SetPos(static_cast<int>(run.end));
    }
    scope.Done();
}

namespace {

// Reads back every byte a write sends (from writeFrom to the image's end)
// and names the runs where it differs.
std::vector<ConfigRun> DifferingRuns(TwoWireBus& bus, const Profile& profile, std::span<const std::uint8_t> writeImage,
                                     Progress& progress, std::uint32_t& firstAddress) {
    ProgressScope scope(progress, profile.verifyBarMax, profile.texts.checkingConfig);
    const std::size_t from = profile.writeFrom;
    std::vector<std::uint8_t> held(profile.imageSize - from);
    ReadBlock(bus, profile, static_cast<std::uint16_t>(from), held, [&](std::size_t i) {
        const std::size_t at = from + i;
        if (at % static_cast<std::size_t>(profile.verifyBarStep) == 0)
            progress.SetPos(
                static_cast<int>(std::min<std::size_t>(at, static_cast<std::size_t>(profile.verifyBarMax))));
    });
    scope.Done();
    std::vector<ConfigRun> differing;
    bool found = false;
    for (const ConfigRun& run : ConfigRuns(profile)) {
        for (std::size_t i = run.first; i < run.end; ++i) {
            if (held[i - from] != writeImage[i]) {
                if (!found) firstAddress = static_cast<std::uint32_t>(i);
                found = true;
                differing.push_back(run);
                break;
            }
        }
    }
    return differing;
}

}  // namespace

LinkOutcome WriteDataToModule(TwoWireBus& bus, const Profile& profile, std::span<const std::uint8_t> writeImage,
                              Progress& progress, std::span<const std::uint8_t> known) {
    if (bus.Timing() == BusTiming::Spec) {
        WriteConfig(bus, profile, writeImage, progress);
        return VerifyConfig(bus, profile, writeImage, progress);
    }
    WriteConfigRuns(bus, profile, writeImage, ChangedRuns(profile, writeImage, known), progress);
    std::uint32_t address = 0;
    std::vector<ConfigRun> differing = DifferingRuns(bus, profile, writeImage, progress, address);
    if (differing.empty()) return {};
    {
        TimingScope careful(bus, BusTiming::Spec);
        WriteConfigRuns(bus, profile, writeImage, differing, progress);
    }
    differing = DifferingRuns(bus, profile, writeImage, progress, address);
    if (differing.empty()) return {};
    return {LinkResult::Mismatch, address};
}

}  // namespace korvex
