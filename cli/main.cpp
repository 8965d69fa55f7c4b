// korvex-cli: every module operation for scripts and batch programming.
#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>

#include "cli/cli_error.h"
#include "cli/cli_texts.h"
#include "cli/compare_commands.h"
#include "cli/config_commands.h"
#include "cli/log_commands.h"
#include "cli/module_session.h"
#include "cli/settings_commands.h"
#include "cli/sound_commands.h"
#include "cli/speak_command.h"
#include "link/profile.h"

using namespace korvex;
using namespace korvex::cli;

namespace {

void PrintError(const std::string& message) { std::fprintf(stderr, "%s\n", message.c_str()); }

// The language of the messages follows --compact even when the command line
// does not parse.
bool CompactAsked(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--compact") return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    GlobalOptions options;

    CLI::App app{"korvex-cli: reads, writes and checks the GSM auto-dialer module", "korvex-cli"};
    app.require_subcommand(1);
    app.fallthrough();
    app.set_version_flag("--version", "korvex-cli " KORVEX_VERSION);
    app.add_flag("--compact", options.compact, "The compact module and program (English texts)");
    app.add_option("--port", options.port, "COMn, a device path, sim:FILE or demo (default COM1)");
    app.add_option("--trace", options.trace, "Simulated ports: one line per line call into FILE");
    app.add_option("--sim-fault", options.faults,
                   "Simulated ports: absent, write-protect, flip-read:N, flip-write:N, pull:N (repeatable)")
        ->allow_extra_args(false);

    auto* identify = app.add_subcommand("identify", "The module checks; prints the program version");

    std::string readConfigOut;
    auto* readConfig = app.add_subcommand("read-config", "Read data and save it as a project file");
    readConfig->add_option("-o", readConfigOut, "The project file (OUT.rom)")->required();

    std::string writeConfigIn;
    auto* writeConfig = app.add_subcommand("write-config", "Write a project file to the module and verify");
    writeConfig->add_option("IN", writeConfigIn, "The project file (IN.rom)")->required();

    std::string showIn;
    bool showJson = false;
    auto* show = app.add_subcommand("show", "Print the settings of a project file");
    show->add_option("IN", showIn, "The project file (IN.rom)")->required();
    show->add_flag("--json", showJson, "One JSON object keyed by the settings' field names");

    std::string buildIn, buildOut, buildDate;
    auto* build = app.add_subcommand("build", "Pack settings given as JSON into a project file");
    build->add_option("IN", buildIn, "The settings (IN.json)")->required();
    build->add_option("-o", buildOut, "The project file (OUT.rom)")->required();
    build->add_option("--date", buildDate, "The date stored in the image, YYYY-MM-DD (default: today)");

    LogOptions logOptions;
    auto* readLog = app.add_subcommand("read-log", "Read the event log; print it or export it as CSV");
    readLog->add_option("--csv", logOptions.csv, "Write the CSV export to this file");
    readLog->add_flag("--show-codes", logOptions.showCodes, "The event code before each event text");

    std::string decodeLogRaw;
    auto* decodeLog = app.add_subcommand("decode-log", "The same from an 896-byte copy of the log ring");
    decodeLog->add_option("RAW", decodeLogRaw, "The 896-byte file")->required();
    decodeLog->add_option("--csv", logOptions.csv, "Write the CSV export to this file");
    decodeLog->add_flag("--show-codes", logOptions.showCodes, "The event code before each event text");

    auto* clearLog = app.add_subcommand("clear-log", "Erase the event log");

    std::string soundDir;
    auto* readSound = app.add_subcommand("read-sound", "Read every voice slot into DIR/slot1.wav, slot2.wav ...");
    readSound->add_option("-d", soundDir, "The folder for the WAV files")->required();

    WriteSoundOptions soundOptions;
    auto* writeSound = app.add_subcommand("write-sound", "Load sound files into their slots, write every slot, verify");
    writeSound->add_flag("--fresh", soundOptions.fresh, "Start from empty slots instead of the module's");
    writeSound->add_option("--slot", soundOptions.slots, "The slot number (from 1) and its WAV file")
        ->allow_extra_args(false)
        ->required();
    writeSound->add_option("--encoder", soundOptions.encoder,
                           "plain (the module's own rule, reproduces stored data) or trellis (less noise)")
        ->check(CLI::IsMember({"plain", "trellis"}));
    writeSound->add_option("--rate", soundOptions.rate, "Converted files: the slot's rate (default 16000; compact 22050)");
    writeSound->add_flag("--cut", soundOptions.cut, "Cut a sound too long for the free memory instead of refusing it");

    SpeakOptions speakOptions;
    auto* speak = app.add_subcommand("speak", "Speak a text with espeak-ng into a WAV file ready for a slot");
    speak->add_option("TEXT", speakOptions.text, "The text (UTF-8)")->required();
    speak->add_option("--lang", speakOptions.language, "The voice: ru or en (default ru)")
        ->check(CLI::IsMember({"ru", "en"}));
    speak->add_option("-o", speakOptions.out, "The WAV file (8-bit mono)")->required();
    speak->add_option("--rate", speakOptions.rate, "The slot's rate (default 16000; compact 22050)");

    DiffOptions diffOptions;
    auto* diff = app.add_subcommand("diff", "The settings that differ between two project files, or a file and the module");
    diff->add_option("A", diffOptions.left, "The project file (A.rom)")->required();
    diff->add_option("B", diffOptions.right, "A second project file; without it the module on --port");
    diff->add_flag("--json", diffOptions.json, "One JSON object with the differing rows");

    ReportOptions reportOptions;
    auto* report = app.add_subcommand("report", "The as-commissioned report of a project file as HTML");
    report->add_option("IN", reportOptions.in, "The project file (IN.rom)")->required();
    report->add_option("-o", reportOptions.out, "The report (OUT.html)")->required();
    report->add_option("--log", reportOptions.log, "An 896-byte copy of the event log ring to list");

    const Profile& earlyProfile = ProfileFor(CompactAsked(argc, argv) ? ModuleKind::Compact : ModuleKind::Full);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e);  // --help
        PrintError(std::string(TextsFor(earlyProfile).commandLine) + e.what());
        return kExitUsage;
    }

    const Profile& profile = ProfileFor(options.compact ? ModuleKind::Compact : ModuleKind::Full);
    const Context ctx{options, profile, TextsFor(profile)};
    int code = kExitOk;
    try {
        CheckGlobalOptions(ctx);
        if (identify->parsed()) code = Identify(ctx);
        else if (readConfig->parsed()) code = ReadConfigCommand(ctx, readConfigOut);
        else if (writeConfig->parsed()) code = WriteConfigCommand(ctx, writeConfigIn);
        else if (show->parsed()) code = ShowCommand(ctx, showIn, showJson);
        else if (build->parsed()) code = BuildCommand(ctx, buildIn, buildOut, buildDate);
        else if (readLog->parsed()) code = ReadLogCommand(ctx, logOptions);
        else if (decodeLog->parsed()) code = DecodeLogCommand(ctx, decodeLogRaw, logOptions);
        else if (clearLog->parsed()) code = ClearLogCommand(ctx);
        else if (readSound->parsed()) code = ReadSoundCommand(ctx, soundDir);
        else if (writeSound->parsed()) code = WriteSoundCommand(ctx, soundOptions);
        else if (diff->parsed()) code = DiffCommand(ctx, diffOptions);
        else if (report->parsed()) code = ReportCommand(ctx, reportOptions);
        else if (speak->parsed()) code = SpeakCommand(ctx, speakOptions);
    } catch (const CliError& e) {
        PrintError(e.what());
        code = e.Code();
    } catch (const std::exception& e) {
        PrintError(e.what());
        code = kExitInput;
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        PrintError(std::string(ctx.texts.fileWrite) + "stdout: " + std::strerror(errno));
        if (code == kExitOk) code = kExitInput;
    }
    return code;
}
