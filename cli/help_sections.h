#pragma once
#include <span>
#include <string>
#include <string_view>

namespace korvex::cli {

// What --help tells after the options and the manual page has sections
// for: the environment, the files and the exit statuses. One table, so the
// help and the page cannot tell two stories.
struct HelpEntry {
    std::string_view term;  // a variable, a file, a status
    std::string_view text;
};
struct HelpSection {
    std::string_view heading;     // in --help, "Environment:" ...
    std::string_view manSection;  // in the manual page, "ENVIRONMENT" ...
    std::span<const HelpEntry> entries;
};
std::span<const HelpSection> HelpSections();

// The sections as --help prints them, after the commands.
std::string HelpSectionsText();

// The same as help2man takes them in an include file. help2man turns the
// help's "Environment:" and "Files:" paragraphs into sections of their own
// and the exit statuses into a subsection of the files, so these replace
// what it made of the help text.
std::string ManSectionsInclude();

}  // namespace korvex::cli
