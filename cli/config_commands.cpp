#include "cli/config_commands.h"

#include <cstdio>
#include <vector>

#include "cli/cli_error.h"
#include "cli/cli_files.h"
#include "cli/utf8_console.h"
#include "link/path_text.h"
#include "link/device_link.h"
#include "link/line_probe.h"
#include "model/clock.h"
#include "model/config_settings.h"
#include "model/config_transfer.h"
#include "model/image_codec.h"

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

}  // namespace

int ProbeCommand(const Context& ctx) {
    return RunOnModule(
        ctx,
        [&](ModuleSession& session) {
            std::printf("%s\n", DescribeProbe(session.Probe()).c_str());
            session.RequireUsable();
            return kExitOk;
        },
        ModuleAccess::Reads, true);
}

int Identify(const Context& ctx, bool writeMarker) {
    return RunOnModule(
        ctx,
        [&](ModuleSession& session) {
            RequireOk(ctx, CheckModule(session.Bus(), ctx.profile,
                                       writeMarker ? MarkerWrite::OverDamaged : MarkerWrite::BlankOnly));
            if (ctx.profile.checksType) WriteText(stdout, ReadProgramVersion(session.Bus(), ctx.profile) + "\n");
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

int WriteConfigCommand(const Context& ctx, const std::string& in, const std::string& since) {
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
            return kExitOk;
        },
        ModuleAccess::Writes);
}

}  // namespace korvex::cli
