// korvex-cli: every module operation for scripts and batch programming.
#include <CLI/CLI.hpp>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/cli_error.h"
#include "cli/cli_files.h"
#include "cli/cli_texts.h"
#include "cli/compare_commands.h"
#include "cli/config_commands.h"
#include "cli/help_sections.h"
#include "cli/log_commands.h"
#include "cli/module_session.h"
#include "cli/parse_errors.h"
#include "cli/shell_completion.h"
#include "cli/stop_signal.h"
#include "cli/settings_commands.h"
#include "cli/sound_commands.h"
#include "cli/utf8_console.h"
#include "link/profile.h"
#include "model/file_io.h"
#include "sim/port_factory.h"
#include "sim/port_model.h"
#include "sim/simulated_ft232r.h"
#if KORVEX_WITH_AUDIO
#include "cli/speak_command.h"
#endif
#if KORVEX_WITH_FTDI
#include "ftdi/ftdi_port.h"
#endif

using namespace korvex;
using namespace korvex::cli;

namespace {

void PrintError(const std::string& message) { WriteText(stderr, message + "\n"); }

// The module and the language of the messages are known even when the
// command line does not parse.
bool CompactAsked(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--compact") return true;
    }
    return false;
}

std::string LanguageAsked(int argc, char** argv) {
    constexpr std::string_view kOption = "--language";
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (arg == kOption && i + 1 < argc) return argv[i + 1];
        if (arg.starts_with(kOption) && arg.size() > kOption.size() && arg[kOption.size()] == '=')
            return std::string(arg.substr(kOption.size() + 1));
    }
    return {};
}

// --language, else the locale's language, else the module's program's own.
const Profile& SpeakingProfile(bool compact, const std::string& asked) {
    const ModuleKind kind = compact ? ModuleKind::Compact : ModuleKind::Full;
    std::optional<Language> language = LanguageNamed(asked);
    if (!language)
        language = LanguageOfLocale(EnvironmentText("LC_ALL"), EnvironmentText("LC_MESSAGES"), EnvironmentText("LANG"));
    return ProfileFor(kind, language.value_or(DefaultLanguage(kind)));
}

}  // namespace

int main(int argc, char** argv) {
    Utf8Arguments utf8Args(argc, argv);
    argc = utf8Args.Count();
    argv = utf8Args.Values();
    GlobalOptions options;
#if KORVEX_WITH_FTDI
    SetFtdiPortOpener(&OpenFtdiCable);
#endif

    CLI::App app{"korvex-cli: reads, writes and checks the GSM auto-dialer module", "korvex-cli"};
    app.require_subcommand(1);
    app.fallthrough();
    app.set_version_flag("--version", "korvex-cli " KORVEX_VERSION);
    app.add_flag("--compact", options.compact, "The compact module and program");
    app.add_option("--language", options.language,
                   "The messages' language: ru or en (default: the locale's; else ru, compact en)")
        ->check(CLI::IsMember({"ru", "en"}));
    app.add_option("--port", options.port,
                   "COMn, a device path, ftdi:SERIAL or ftdi:first (an FTDI cable in bit-bang mode), sim:FILE or "
                   "demo (default: $KORVEX_PORT)");
    app.add_option("--trace", options.trace, "Simulated ports: one line per line call into FILE");
    app.add_option("--sim-fault", options.faults,
                   "Simulated ports: absent, write-protect, flip-read:N, flip-write:N, pull:N (repeatable)")
        ->allow_extra_args(false);
    app.add_option("--sim-port", options.simPort,
                   "Simulated ports: the port model (default, native, ftdi, cp210x, ch340, pl2303, cdc-acm, "
                   "ft232r-bitbang)");
    app.add_option("--sim-pace", options.simPace,
                   "Simulated ports: virtual (as fast as the machine runs, default) or real (the time the port "
                   "model charges, as on a real cable)");
    app.add_option("--bus", options.bus, "Bus timing: spec (the standard one, default) or fast");
    app.add_flag("--stats", options.stats, "Last line on stderr: the port's line calls, waits and time");

    bool probeJson = false;
    auto* probe = app.add_subcommand("probe", "Measure the port's lines: cost of a set and a read, status delay");
    probe->add_flag("--json", probeJson, "One JSON object with the findings");

    bool writeMarker = false, identifyJson = false;
    auto* identify = app.add_subcommand("identify", "The module checks; prints the program version");
    identify->add_flag("--write-marker", writeMarker,
                       "Write the program's marker over a damaged one (never over the other program's)");
    identify->add_flag("--json", identifyJson, "One JSON object with the module and its program version");

    std::string readConfigOut;
    auto* readConfig = app.add_subcommand("read-config", "Read data and save it as a project file");
    readConfig->add_option("-o", readConfigOut, "The project file (OUT.rom)")->required();

    std::string writeConfigIn, writeConfigSince;
    bool writeConfigJson = false;
    auto* writeConfig = app.add_subcommand("write-config", "Write a project file to the module and verify");
    writeConfig->add_option("IN", writeConfigIn, "The project file (IN.rom)")->required();
    writeConfig->add_option("--since", writeConfigSince,
                            "What the module holds (OLD.rom, the backup just read): with --bus fast only the "
                            "changed 64-byte runs are written; the whole image is verified");
    writeConfig->add_flag("--json", writeConfigJson, "Once verified, one JSON object: what the module now holds");

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

    // read-log and decode-log list the same way.
    LogOptions logOptions;
    const auto addListingOptions = [&](CLI::App* command) {
        auto* csv = command->add_option("--csv", logOptions.csv, "Write the CSV export to this file");
        command->add_flag("--show-codes", logOptions.showCodes, "The event code before each event text");
        command->add_flag("--json", logOptions.json, "The listing as one JSON object")->excludes(csv);
        command
            ->add_option("--encoding", logOptions.encoding,
                         "The CSV export's encoding: cp1251 (the format's own, default) or utf-8")
            ->check(CLI::IsMember({kCsvCp1251, kCsvUtf8}));
    };
    auto* readLog = app.add_subcommand("read-log", "Read the event log; print it or export it as CSV");
    addListingOptions(readLog);

    std::string decodeLogRaw;
    auto* decodeLog = app.add_subcommand("decode-log", "The same from an 896-byte copy of the log ring");
    decodeLog->add_option("RAW", decodeLogRaw, "The 896-byte file")->required();
    addListingOptions(decodeLog);

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
    writeSound->add_flag("--json", soundOptions.json,
                         "Once verified, one JSON object: every slot the module now holds");
    // Conversion and speech come with korvex_audio; without it write-sound
    // takes the WAV intake's files only and there is no speak.
#if KORVEX_WITH_AUDIO
    auto* writeSoundRate = writeSound->add_option("--rate", soundOptions.rate,
                                                  "Converted files: the slot's rate (default 16000; compact 22050)");
    writeSound->add_flag("--cut", soundOptions.cut, "Cut a sound too long for the free memory instead of refusing it");

    SpeakOptions speakOptions;
    auto* speak = app.add_subcommand("speak", "Speak a text with espeak-ng into a WAV file ready for a slot");
    speak->add_option("TEXT", speakOptions.text, "The text (UTF-8)")->required();
    speak->add_option("--lang", speakOptions.language, "The voice: ru or en (default ru)")
        ->check(CLI::IsMember({"ru", "en"}));
    speak->add_option("-o", speakOptions.out, "The WAV file (8-bit mono)")->required();
    auto* speakRate = speak->add_option("--rate", speakOptions.rate, "The slot's rate (default 16000; compact 22050)");
#endif

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

    // After the commands, which would take it for their own help too.
    app.footer(HelpSectionsText());
    // Printed from the definition above, so they cannot miss a command or
    // an option; both end the program as --version does.
    CompletionHints hints{.values = {{"--bus", {"spec", "fast"}},
                                     {"--sim-pace", {"virtual", "real"}},
                                     {"--language", {"ru", "en"}},
                                     {"--sim-fault", {"absent", "write-protect", "flip-read:", "flip-write:", "pull:"}},
                                     {"--port", {"demo"}}},
                          .portOption = "--port"};
    for (const PortModel& model : PortModels()) hints.values["--sim-port"].emplace_back(model.name);
    hints.values["--sim-port"].emplace_back(kBitBangPortName);
    app.add_option_function<std::string>(
           "--completion",
           [&](const std::string& shell) {
               WriteText(stdout, shell == "zsh" ? ZshCompletion(app, hints) : BashCompletion(app, hints));
               throw CLI::Success();
           },
           "Print the shell completion script for bash or zsh and exit")
        ->check(CLI::IsMember({"bash", "zsh"}));
    // The manual page's sections from the table --help prints (packaging/).
    app.add_flag_callback("--man-sections",
                          [] {
                              WriteText(stdout, ManSectionsInclude());
                              throw CLI::Success();
                          })
        ->group("");

    const Profile& earlyProfile = SpeakingProfile(CompactAsked(argc, argv), LanguageAsked(argc, argv));
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e);  // --help, --version, --completion
        PrintError(ParseErrorMessage(app, e, TextsFor(earlyProfile)));
        return kExitUsage;
    }
    if (options.port.empty()) options.port = EnvironmentText(kPortVariable);
#if KORVEX_WITH_AUDIO
    soundOptions.rateGiven = writeSoundRate->count() > 0;
    speakOptions.rateGiven = speakRate->count() > 0;
#endif

    const Profile& profile = SpeakingProfile(options.compact, options.language);
    std::optional<PortStats> stats;
    const Context ctx{options, profile, TextsFor(profile), &stats};
    int code = kExitOk;
    InstallSignalHandlers();
    try {
        const bool needsModule = probe->parsed() || identify->parsed() || readConfig->parsed() ||
                                 writeConfig->parsed() || readLog->parsed() || clearLog->parsed() ||
                                 readSound->parsed() || writeSound->parsed() ||
                                 (diff->parsed() && diffOptions.right.empty());
        if (needsModule) RequirePortNamed(ctx);
        CheckGlobalOptions(ctx);
        {
            // Outputs that would destroy an input of the same command.
            std::vector<std::filesystem::path> inputs{writeConfigIn, showIn, buildIn, decodeLogRaw, reportOptions.in,
                                                      reportOptions.log};
            std::vector<std::filesystem::path> outputs{options.trace, readConfigOut, buildOut, logOptions.csv,
                                                       reportOptions.out};
            if (const auto memory = MemoryFileOf(ctx)) inputs.push_back(*memory);
            for (const auto& slot : soundOptions.slots) inputs.emplace_back(slot.second);
            if (readSound->parsed()) {
                for (int slot = 0; slot < profile.slotCount; ++slot) outputs.push_back(SlotFile(soundDir, slot));
            }
            RefuseOutputOverInput(outputs, inputs, ctx.texts);
            RefuseSameOutputs(outputs, ctx.texts);
        }
        if (probe->parsed()) code = ProbeCommand(ctx, probeJson);
        else if (identify->parsed()) code = Identify(ctx, writeMarker, identifyJson);
        else if (readConfig->parsed()) code = ReadConfigCommand(ctx, readConfigOut);
        else if (writeConfig->parsed())
            code = WriteConfigCommand(ctx, writeConfigIn, writeConfigSince, writeConfigJson);
        else if (show->parsed()) code = ShowCommand(ctx, showIn, showJson);
        else if (build->parsed()) code = BuildCommand(ctx, buildIn, buildOut, buildDate);
        else if (readLog->parsed()) code = ReadLogCommand(ctx, logOptions);
        else if (decodeLog->parsed()) code = DecodeLogCommand(ctx, decodeLogRaw, logOptions);
        else if (clearLog->parsed()) code = ClearLogCommand(ctx);
        else if (readSound->parsed()) code = ReadSoundCommand(ctx, soundDir);
        else if (writeSound->parsed()) code = WriteSoundCommand(ctx, soundOptions);
        else if (diff->parsed()) code = DiffCommand(ctx, diffOptions);
        else if (report->parsed()) code = ReportCommand(ctx, reportOptions);
#if KORVEX_WITH_AUDIO
        else if (speak->parsed()) code = SpeakCommand(ctx, speakOptions);
#endif
    } catch (const CliError& e) {
        PrintError(e.what());
        code = e.Code();
    } catch (const std::exception& e) {
        PrintError(e.what());
        code = kExitInput;
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        // A result that could not be written is a failure whatever it said
        // (diff's 5 included); a command that failed has told its failure,
        // and a failed write to stdout is told only once.
        if (code == kExitOk || code == kExitDiffers) {
            PrintError(std::string(ctx.texts.fileWrite) + "stdout: " + std::strerror(errno));
            code = kExitInput;
        }
    }
    if (options.stats && stats) PrintError(StatsLine(*stats));
    // A transfer stopped by Ctrl+C: the command has ended cleanly, and the
    // program ends as the signal ends a well-behaved tool.
    if (const int signal = StoppingSignal(); signal != 0) {
        std::fflush(stderr);
        EndBySignal(signal);
    }
    return code;
}
