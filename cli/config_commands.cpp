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
#include "model/image_codec.h"
#include "model/image_layout.h"

namespace korvex::cli {
namespace {


// What Write data and a project save both send: the image PackImage builds
// from the settings decoded out of `readImage`, dated today. A read leaves
// the settings cleared and then decoded, exactly like a project load.
std::vector<std::uint8_t> RebuiltImage(const Context& ctx, const std::vector<std::uint8_t>& readImage) {
    ConfigSettings settings;
    UnpackImage(ctx.profile, readImage, settings);
    std::vector<std::uint8_t> writeImage(ctx.profile.imageSize);
    PackImage(ctx.profile, settings, readImage, writeImage, Today());
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

int Identify(const Context& ctx) {
    return RunOnModule(ctx, [&](ModuleSession& session) {
        RequireOk(ctx, CheckModule(session.Bus(), ctx.profile));
        if (ctx.profile.checksType) {
            std::uint8_t version[layout::kVersionSize];
            session.Bus().ReadSequential(static_cast<std::uint16_t>(layout::kVersion), version);
            WriteText(stdout, ProgramVersion(version) + "\n");
        }
        return kExitOk;
    });
}

int ReadConfigCommand(const Context& ctx, const std::string& out) {
    return RunOnModule(ctx, [&](ModuleSession& session) {
        session.Announce([&](TwoWireBus& bus) {
            std::vector<std::uint8_t> scratch(ctx.profile.imageSize);
            NullProgress quiet;
            ReadDataFromModule(bus, ctx.profile, scratch, quiet);
        });
        std::vector<std::uint8_t> readImage(ctx.profile.imageSize);
        RequireOk(ctx, ReadDataFromModule(session.Bus(), ctx.profile, readImage, session.GetProgress()));
        WriteOutputFile(PathFromUtf8(out), RebuiltImage(ctx, readImage), ctx.texts);
        return kExitOk;
    });
}

int WriteConfigCommand(const Context& ctx, const std::string& in, const std::string& since) {
    // The files are read first: a bad file never reaches the module.
    const std::vector<std::uint8_t> project = ReadInputFile(PathFromUtf8(in), ctx.texts, ctx.profile.imageSize);
    std::vector<std::uint8_t> held;
    if (!since.empty()) held = ReadInputFile(PathFromUtf8(since), ctx.texts, ctx.profile.imageSize);
    return RunOnModule(ctx, [&](ModuleSession& session) {
        const std::vector<std::uint8_t> writeImage = RebuiltImage(ctx, project);
        // A backup names the day it was saved, not the one the module last
        // stored: count the date as changed, so its run is written.
        if (!held.empty() && ctx.profile.kind == ModuleKind::Full) {
            for (std::size_t i = layout::kDate; i < layout::kDate + 4; ++i) held[i] = static_cast<std::uint8_t>(~writeImage[i]);
        }
        session.Announce([&](TwoWireBus& bus) {
            NullProgress quiet;
            if (CheckModule(bus, ctx.profile).Ok()) WriteDataToModule(bus, ctx.profile, writeImage, quiet, held);
        });
        RequireOk(ctx, CheckModule(session.Bus(), ctx.profile));
        RequireOk(ctx, WriteDataToModule(session.Bus(), ctx.profile, writeImage, session.GetProgress(), held));
        return kExitOk;
    }, ModuleAccess::Writes);
}

}  // namespace korvex::cli
