#include "log/log_transfer.h"

namespace korvex {

namespace {

// The check every log operation starts with. The compact module keeps voice
// data where the full one keeps its log, so it must never be read or erased
// as a log.
LinkOutcome CheckLogModule(TwoWireBus& bus, const Profile& profile) {
    if (!profile.hasLog) return {LinkResult::UnknownType};
    return CheckModule(bus, profile);
}

void BeginBar(Progress& progress) {
    progress.SetRange(0, static_cast<int>(kLogSize));
    progress.SetPos(0);
    progress.Show();
}

// A port failure leaves the bar as it stood, as the other transfers do.
void EndBar(Progress& progress) {
    progress.SetPos(0);
    progress.Hide();
}

}  // namespace

LinkOutcome ReadLogBytes(TwoWireBus& bus, const Profile& profile, Progress& progress, LogBytes& raw) {
    const LinkOutcome check = CheckLogModule(bus, profile);
    if (!check.Ok()) return check;

    // Read into a fresh buffer so that a transfer cut short by a port
    // failure leaves the caller's copy of the last good read alone.
    LogBytes buffer{};
    BeginBar(progress);
    bus.ReadSequential(kLogAddress, buffer, [&](std::size_t i) {
        if (i % 20 == 0) progress.SetPos(static_cast<int>(i));
    });
    EndBar(progress);
    raw = buffer;
    return {};
}

LinkOutcome ReadLog(TwoWireBus& bus, const Profile& profile, Progress& progress, std::vector<LogRecord>& out,
                    LogBytes& raw) {
    const LinkOutcome outcome = ReadLogBytes(bus, profile, progress, raw);
    if (outcome.Ok()) out = DecodeLog(raw);
    return outcome;
}

LinkOutcome ReadLog(TwoWireBus& bus, const Profile& profile, Progress& progress, std::vector<LogRecord>& out) {
    LogBytes raw{};
    return ReadLog(bus, profile, progress, out, raw);
}

LinkOutcome ClearLog(TwoWireBus& bus, const Profile& profile, Progress& progress) {
    const LinkOutcome check = CheckLogModule(bus, profile);
    if (!check.Ok()) return check;

    LogBytes erased;
    erased.fill(0xFF);
    BeginBar(progress);
    bus.WritePaged(kLogAddress, erased, [&](std::size_t i) {
        if (i % 10 == 0) progress.SetPos(static_cast<int>(i));
    });
    // The ring ends on a page boundary, so the last page has had its wait
    // already; the closing stop and wait are kept as the module has always
    // seen them.
    bus.Stop();
    bus.Wait();

    // A write-protected or failing module acknowledges the writes and keeps
    // its records: only reading the ring back tells a clear that took.
    LogBytes readBack{};
    bus.ReadSequential(kLogAddress, readBack);
    EndBar(progress);
    for (std::size_t i = 0; i < readBack.size(); ++i) {
        if (readBack[i] != 0xFF) return {LinkResult::Mismatch, static_cast<std::uint32_t>(kLogAddress + i)};
    }
    return {};
}

}  // namespace korvex
