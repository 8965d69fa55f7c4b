#pragma once
#include <string>

#include "cli/module_session.h"

namespace korvex::cli {

// identify: the module checks; prints the program version of a full module.
int Identify(const Context& ctx);
// read-config -o OUT.rom: Read data, then the project file the program
// would save right after it.
int ReadConfigCommand(const Context& ctx, const std::string& out);
// write-config IN.rom: the project file, Write data, the read-back.
int WriteConfigCommand(const Context& ctx, const std::string& in);

}  // namespace korvex::cli
