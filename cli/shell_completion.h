#pragma once
#include <CLI/CLI.hpp>

#include <map>
#include <string>
#include <vector>

namespace korvex::cli {

// What the command line's own definition does not say about an option's
// values: the words it takes where korvex-cli checks them itself (the
// parser's lists of allowed values are read from the options).
struct CompletionHints {
    std::map<std::string, std::vector<std::string>> values;  // by the option's name, "--bus"
    std::string portOption;                                  // takes the serial devices there are, besides its words
};

// The completion scripts, made from the commands and options `app` has, so
// they offer exactly what the program takes: the commands, each command's
// options and the global ones, the allowed values of an option, and file
// names (the shell's own completion) where a file or free text is asked for.
// Hidden options (no group) are left out.
std::string BashCompletion(const CLI::App& app, const CompletionHints& hints);
std::string ZshCompletion(const CLI::App& app, const CompletionHints& hints);

}  // namespace korvex::cli
