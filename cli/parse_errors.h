#pragma once
#include <CLI/CLI.hpp>

#include <string>

#include "cli/cli_texts.h"

namespace korvex::cli {

// The message for a command line the parser refused, in the program's
// language like every other: the parser's own texts are English, so what it
// found is told from the options' state where it can be (the missing
// option, the leftover arguments, the values given) and from the few
// fixed forms of its messages otherwise; a refusal of another form gets a
// general sentence, never the parser's words.
std::string ParseErrorMessage(const CLI::App& app, const CLI::ParseError& error, const CliTexts& texts);

}  // namespace korvex::cli
