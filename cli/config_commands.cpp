#include "cli/config_commands.h"

#include <cstdio>
#include <vector>

#include "cli/cli_error.h"
#include "cli/cli_files.h"
#include "link/device_link.h"

namespace korvex::cli {
namespace {

constexpr std::uint16_t kVersionAddress = 16;
constexpr std::size_t kVersionSize = 4;

// The bytes a project save writes right after a read of readImage.
std::vector<std::uint8_t> ProjectAfterRead(const Context&, const std::vector<std::uint8_t>& readImage) {
    return readImage;
}

// The write image Write data builds from a loaded project file.
std::vector<std::uint8_t> WriteImageFromProject(const Context&, const std::vector<std::uint8_t>& project) {
    return project;
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
            std::printf("%s\n", text.c_str());
        }
        return kExitOk;
    });
}

int ReadConfigCommand(const Context& ctx, const std::string& out) {
    return RunOnModule(ctx, [&](ModuleSession& session) {
        std::vector<std::uint8_t> readImage(ctx.profile.imageSize);
        RequireOk(ctx, ReadDataFromModule(session.Bus(), ctx.profile, readImage, session.GetProgress()));
        WriteOutputFile(out, ProjectAfterRead(ctx, readImage), ctx.texts);
        return kExitOk;
    });
}

int WriteConfigCommand(const Context& ctx, const std::string& in) {
    // The file is read first: a bad file never reaches the module.
    const std::vector<std::uint8_t> project = ReadInputFile(in, ctx.texts, ctx.profile.imageSize);
    return RunOnModule(ctx, [&](ModuleSession& session) {
        RequireOk(ctx, CheckModule(session.Bus(), ctx.profile));
        const std::vector<std::uint8_t> writeImage = WriteImageFromProject(ctx, project);
        RequireOk(ctx, WriteDataToModule(session.Bus(), ctx.profile, writeImage, session.GetProgress()));
        return kExitOk;
    });
}

}  // namespace korvex::cli
