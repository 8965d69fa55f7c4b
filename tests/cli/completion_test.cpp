// The shell completion offers every command and option the program has, and
// --help and the manual page's extra sections come from one table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <sstream>

#include "cli/cli_runner.h"

namespace korvex::test {
namespace {

using Words = std::set<std::string>;

Words Lines(const std::string& text) {
    Words words;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) words.insert(line);
    }
    return words;
}

// The names listed under a heading of --help ("Options:", "Subcommands:"):
// the first word of each entry up to the blank line, split at commas (a
// description too long for its column goes on an indented line of its own).
Words Listed(const std::string& help, const std::string& heading) {
    Words names;
    std::istringstream in(help);
    std::string line;
    while (std::getline(in, line) && line != heading) {
    }
    while (std::getline(in, line) && !line.empty()) {
        if (line.size() < 3 || line.compare(0, 2, "  ") != 0 || line[2] == ' ') continue;
        std::istringstream first(line);
        std::string word;
        first >> word;
        std::istringstream parts(word);
        for (std::string name; std::getline(parts, name, ',');) names.insert(name);
    }
    return names;
}

class Completion : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        const CliResult bash = Run({"--completion", "bash"});
        ASSERT_EQ(bash.status, 0) << bash.err;
        WriteText(At("korvex-cli.bash"), bash.out);
        // Calls the completion function as bash does on Tab: the words so
        // far, the last one being completed; prints what it offers.
        WriteText(At("complete.sh"),
                  "source \"$1\"; shift\n"
                  "COMP_WORDS=(\"$@\"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); COMPREPLY=()\n"
                  "_korvex_cli\n"
                  "printf '%s\\n' \"${COMPREPLY[@]}\"\n");
    }

    // What bash offers after these words (the last one half typed).
    Words Offered(std::vector<std::string> words) {
        words.insert(words.begin(), "korvex-cli");
        std::string command = "bash " + At("complete.sh").string() + " " + At("korvex-cli.bash").string();
        for (const std::string& word : words) command += " '" + word + "'";
        command += " > " + At("offered").string();
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return Lines(ReadText(At("offered")));
    }

    std::string Help(const std::vector<std::string>& args) {
        const CliResult r = Run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out;
    }
};

TEST_F(Completion, BashOffersWhatFitsWhereTheCursorIs) {
    struct Case {
        std::vector<std::string> words;
        Words offered;  // exactly these
    };
    const Case cases[] = {
        {{"read-"}, {"read-config", "read-log", "read-sound"}},
        // A global option's value is skipped on the way to the command.
        {{"--port", "demo", "write-"}, {"write-config", "write-sound"}},
        {{"--port", "de"}, {"demo"}},
        {{"--bus", ""}, {"spec", "fast"}},
        {{"--sim-pace", ""}, {"virtual", "real"}},
        {{"--sim-port", "c"}, {"cp210x", "ch340", "cdc-acm"}},
        {{"read-log", "--encoding", ""}, {"cp1251", "utf-8"}},
        {{"write-sound", "--encoder", ""}, {"plain", "trellis"}},
        {{"speak", "x", "--lang", ""}, {"ru", "en"}},
        {{"--completion", ""}, {"bash", "zsh"}},
        {{"read-log", "--e"}, {"--encoding"}},
        // Global options after the command, as the parser takes them.
        {{"identify", "--s"}, {"--sim-fault", "--sim-port", "--sim-pace", "--stats"}},
        // Files and free values are left to the shell's own completion.
        {{"show", ""}, {}},
        {{"read-config", "-o", ""}, {}},
        {{"write-sound", "--rate", ""}, {}},
    };
    for (const Case& c : cases) {
        std::string words;
        for (const std::string& w : c.words) words += w + " ";
        EXPECT_EQ(Offered(c.words), c.offered) << words;
    }
}

TEST_F(Completion, BashOffersEveryCommandAndOptionHelpLists) {
    const std::string help = Help({"--help"});
    const Words commands = Listed(help, "Subcommands:");
    ASSERT_GE(commands.size(), 14u) << help;
    EXPECT_EQ(Offered({""}), commands);

    const Words global = Listed(help, "Options:");
    ASSERT_TRUE(global.count("--port") && global.count("--completion")) << help;
    EXPECT_EQ(Offered({"-"}), global);
    for (const std::string& command : commands) {
        Words expected = Listed(Help({command, "--help"}), "Options:");
        ASSERT_TRUE(expected.count("--help")) << command;
        expected.insert(global.begin(), global.end());
        EXPECT_EQ(Offered({command, "-"}), expected) << command;
    }
}

TEST_F(Completion, ZshScriptNamesEveryCommandAndOptionAndParses) {
    const CliResult zsh = Run({"--completion", "zsh"});
    ASSERT_EQ(zsh.status, 0) << zsh.err;
    EXPECT_TRUE(zsh.out.starts_with("#compdef korvex-cli\n")) << zsh.out;
    WriteText(At("_korvex-cli"), zsh.out);
    const std::string check = "zsh -n " + At("_korvex-cli").string();
    EXPECT_EQ(std::system(check.c_str()), 0) << "zsh refuses the script";

    const std::string help = Help({"--help"});
    for (const std::string& command : Listed(help, "Subcommands:")) {
        EXPECT_NE(zsh.out.find("'" + command + ":"), std::string::npos) << command;
        // The command's branch lists its own options.
        const std::size_t branch = zsh.out.find("                " + command + ")\n");
        ASSERT_NE(branch, std::string::npos) << command;
        const std::string body = zsh.out.substr(branch, zsh.out.find(";;", branch) - branch);
        for (const std::string& option : Listed(Help({command, "--help"}), "Options:")) {
            const bool named = body.find("'" + option + "[") != std::string::npos ||
                               body.find("," + option + "}") != std::string::npos ||
                               body.find("{" + option + ",") != std::string::npos;
            EXPECT_TRUE(named) << command << " " << option;
        }
    }
}

TEST_F(Completion, HelpAndManualPageTellTheSameEnvironmentFilesAndStatuses) {
    const std::string help = Help({"--help"});
    const CliResult man = Run({"--man-sections"});
    ASSERT_EQ(man.status, 0) << man.err;
    struct Section {
        const char* heading;
        const char* manSection;
    };
    for (const Section& s : {Section{"Environment:", "[=ENVIRONMENT]"}, Section{"Files:", "[=FILES]"},
                             Section{"Exit status:", "[=EXIT STATUS]"}}) {
        const Words terms = Listed(help, s.heading);
        ASSERT_FALSE(terms.empty()) << s.heading << "\n" << help;
        const std::size_t at = man.out.find(s.manSection);
        ASSERT_NE(at, std::string::npos) << s.manSection;
        const std::string section = man.out.substr(at, man.out.find("\n[", at + 1) - at);
        for (std::string term : terms) {
            // troff's hyphens
            for (std::size_t dash = 0; (dash = term.find('-', dash)) != std::string::npos; dash += 2)
                term.replace(dash, 1, "\\-");
            EXPECT_NE(section.find(".B " + term), std::string::npos) << s.manSection << " lacks " << term;
        }
    }
    for (const char* variable : {"KORVEX_PORT", "XDG_DATA_HOME"})
        EXPECT_TRUE(Listed(help, "Environment:").count(variable)) << variable;
    EXPECT_EQ(Listed(help, "Exit status:"), Words({"0", "1", "2", "3", "4", "5"}));
    // The hidden option is not offered.
    EXPECT_EQ(help.find("--man-sections"), std::string::npos);
}

}  // namespace
}  // namespace korvex::test
