#pragma once
#include <string>

#include "cli/module_session.h"

namespace korvex::cli {

// identify: the module checks; prints the program version of a full module
// (`json`: an object with the module kind and the version, null for none).
// `writeMarker`: a damaged marker is written over (never the other
// program's); otherwise, as for every command, it is told and left alone.
int Identify(const Context& ctx, bool writeMarker, bool json = false);
// read-config -o OUT.rom: Read data, then the project file the program
// would save right after it.
int ReadConfigCommand(const Context& ctx, const std::string& out);
// write-config IN.rom [--since OLD.rom]: the project file, Write data, the
// read-back. OLD.rom is what the module is believed to hold; the fast timing
// writes only the runs that differ from it. `json`: a summary of what the
// module now holds once it verified (nothing is printed otherwise).
int WriteConfigCommand(const Context& ctx, const std::string& in, const std::string& since = {}, bool json = false);
// probe: the line probe's findings on stdout (`json`: as an object); a cable
// that cannot read the module back ends with exit status 2.
int ProbeCommand(const Context& ctx, bool json = false);

}  // namespace korvex::cli
