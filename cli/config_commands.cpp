#include "cli/config_commands.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "cli/cli_error.h"
#include "cli/cli_files.h"
#include "cli/json_output.h"
#include "cli/utf8_console.h"
#include "link/path_text.h"
#include "link/device_link.h"
#include "link/line_probe.h"
#include "model/clock.h"
#include "model/config_settings.h"
#include "model/config_transfer.h"
#include "model/image_codec.h"
#include "report/report_html.h"

namespace korvex::cli {
namespace {

// What Write data and a project save both send: the image PackImage builds
// from `settings` over the image they came from, dated today.
std::vector<std::uint8_t> PackedImage(const Context& ctx, const ModuleConfig& config) {
    ConfigSettings settings = config.settings;
    std::vector<std::uint8_t> writeImage(ctx.profile.imageSize);
    PackImage(ctx.profile, settings, config.image, writeImage, Today());
    return writeImage;
}

std::string_view VerdictName(const LineProbe& probe) {
    switch (probe.verdict) {
        case LineProbe::Verdict::Ok: return probe.liveStatus ? "usable" : "fast-timing-only";
        case LineProbe::Verdict::CtsStuckOn: return "cts-stuck-on";
        case LineProbe::Verdict::CtsStuckOff: return "cts-stuck-off";
    }
    return "usable";
}

JsonObject ProbeJson(const LineProbe& probe) {
    return {{"driver", TextOrNull(probe.driver)},
            {"setNs", probe.setNs},
            {"readNs", probe.readNs},
            {"statusDelayNs", probe.statusDelayNs},
            {"liveStatus", probe.liveStatus},
            {"verdict", VerdictName(probe)},
            {"usable", probe.Usable()}};
}

}  // namespace

int ProbeCommand(const Context& ctx, bool json) {
    return RunOnModule(
        ctx,
        [&](ModuleSession& session) {
            // Told before the verdict ends the command, so a script sees why.
            if (json) PrintJson(ProbeJson(session.Probe()));
            else std::printf("%s\n", DescribeProbe(session.Probe()).c_str());
            session.RequireUsable();
            return kExitOk;
        },
        ModuleAccess::Reads, true);
}

int Identify(const Context& ctx, bool writeMarker, bool json) {
    return RunOnModule(
        ctx,
        [&](ModuleSession& session) {
            RequireOk(ctx, CheckModule(session.Bus(), ctx.profile,
                                       writeMarker ? MarkerWrite::OverDamaged : MarkerWrite::BlankOnly));
            const std::string version = ReadProgramVersion(session.Bus(), ctx.profile);
            if (json) PrintJson({{"module", ctx.profile.name}, {"programVersion", TextOrNull(version)}});
            else if (ctx.profile.checksType) WriteText(stdout, version + "\n");
            return kExitOk;
        },
        writeMarker ? ModuleAccess::Writes : ModuleAccess::Reads);
}

int ReadConfigCommand(const Context& ctx, const std::string& out) {
    return RunOnModule(ctx, [&](ModuleSession& session) {
        session.Announce([&](TwoWireBus& bus) {
            ModuleConfig scratch;
            NullProgress quiet;
            static_cast<void>(ReadSettingsFromModule(bus, ctx.profile, quiet, scratch));  // only its bus calls count
        });
        ModuleConfig module;
        RequireOk(ctx, ReadSettingsFromModule(session.Bus(), ctx.profile, session.GetProgress(), module));
        WriteOutputFile(PathFromUtf8(out), PackedImage(ctx, module), ctx.texts);
        return kExitOk;
    });
}

int WriteConfigCommand(const Context& ctx, const std::string& in, const std::string& since, bool json) {
    // The files are read first: a bad file never reaches the module.
    ModuleConfig project;
    project.image = ReadInputFile(PathFromUtf8(in), ctx.texts, ctx.profile.imageSize);
    UnpackImage(ctx.profile, project.image, project.settings);
    const Date today = Today();
    std::vector<std::uint8_t> held;
    if (!since.empty())
        held = HeldFromBackup(ctx.profile, ReadInputFile(PathFromUtf8(since), ctx.texts, ctx.profile.imageSize), today);
    return RunOnModule(
        ctx,
        [&](ModuleSession& session) {
            // Every write packs the settings afresh, so each gets its own copy.
            session.Announce([&](TwoWireBus& bus) {
                ConfigSettings settings = project.settings;
                std::vector<std::uint8_t> image, known = held;
                NullProgress quiet;
                static_cast<void>(
                    WriteSettingsToModule(bus, ctx.profile, settings, project.image, today, image, known, quiet));
            });
            ConfigSettings settings = project.settings;
            std::vector<std::uint8_t> writeImage;
            RequireOk(ctx, WriteSettingsToModule(session.Bus(), ctx.profile, settings, project.image, today, writeImage,
                                                 held, session.GetProgress()));
            if (json) {
                PrintJson({{"module", ctx.profile.name},
                           {"file", in},
                           {"bytes", writeImage.size()},
                           {"programVersion", TextOrNull(ProgramVersionOf(writeImage, ctx.profile))}});
            }
            return kExitOk;
        },
        ModuleAccess::Writes);
}

}  // namespace korvex::cli
