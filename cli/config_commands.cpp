#include "cli/config_commands.h"

#include <cstdio>
#include <vector>

#include "cli/cli_error.h"
#include "cli/cli_files.h"
#include "link/device_link.h"
#include "model/clock.h"
#include "model/config_settings.h"
#include "model/cp1251.h"
#include "model/image_codec.h"

namespace korvex::cli {
namespace {

constexpr std::uint16_t kVersionAddress = 16;
constexpr std::size_t kVersionSize = 4;

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

int Identify(const Context& ctx) {
    return RunOnModule(ctx, [&](ModuleSession& session) {
        RequireOk(ctx, CheckModule(session.Bus(), ctx.profile));
        if (ctx.profile.checksType) {
            std::uint8_t version[kVersionSize];
            session.Bus().ReadSequential(kVersionAddress, version);
            std::string text;
            for (std::uint8_t b : version) {
                if (b == 0) break;
                text.push_back(static_cast<char>(b));
            }
            std::printf("%s\n", Cp1251ToUtf8(text).c_str());
        }
        return kExitOk;
    });
}

int ReadConfigCommand(const Context& ctx, const std::string& out) {
    return RunOnModule(ctx, [&](ModuleSession& session) {
        std::vector<std::uint8_t> readImage(ctx.profile.imageSize);
        RequireOk(ctx, ReadDataFromModule(session.Bus(), ctx.profile, readImage, session.GetProgress()));
        WriteOutputFile(out, RebuiltImage(ctx, readImage), ctx.texts);
        return kExitOk;
    });
}

int WriteConfigCommand(const Context& ctx, const std::string& in) {
    // The file is read first: a bad file never reaches the module.
    const std::vector<std::uint8_t> project = ReadInputFile(in, ctx.texts, ctx.profile.imageSize);
    return RunOnModule(ctx, [&](ModuleSession& session) {
        RequireOk(ctx, CheckModule(session.Bus(), ctx.profile));
        const std::vector<std::uint8_t> writeImage = RebuiltImage(ctx, project);
        RequireOk(ctx, WriteDataToModule(session.Bus(), ctx.profile, writeImage, session.GetProgress()));
        return kExitOk;
    }, ModuleAccess::Writes);
}

}  // namespace korvex::cli
