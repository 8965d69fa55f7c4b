#pragma once
#include <string>

#include "cli/module_session.h"

namespace korvex::cli {

// identify: the module checks; prints the program version of a full module.
// `writeMarker`: a damaged marker is written over (never the other
// program's); otherwise, as for every command, it is told and left alone.
int Identify(const Context& ctx, bool writeMarker);
// read-config -o OUT.rom: Read data, then the project file the program
// would save right after it.
int ReadConfigCommand(const Context& ctx, const std::string& out);
// write-config IN.rom [--since OLD.rom]: the project file, Write data, the
// read-back. OLD.rom is what the module is believed to hold; the fast timing
// writes only the runs that differ from it.
int WriteConfigCommand(const Context& ctx, const std::string& in, const std::string& since = {});
// probe: the line probe's findings on stdout; a cable that cannot read the
// module back ends with exit status 2.
int ProbeCommand(const Context& ctx);

}  // namespace korvex::cli
