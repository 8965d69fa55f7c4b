#pragma once
#include <string>

#include "cli/module_session.h"

namespace korvex::cli {

// show IN.rom [--json]: the settings a project file holds.
int ShowCommand(const Context& ctx, const std::string& in, bool json);
// build IN.json -o OUT.rom [--date YYYY-MM-DD]: a project file from settings
// given as JSON; keys left out keep what an all-zero image decodes to.
int BuildCommand(const Context& ctx, const std::string& in, const std::string& out, const std::string& date);

}  // namespace korvex::cli
