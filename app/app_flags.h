#pragma once
#include <cstdint>

namespace korvex {

// The one application-wide setting of the programs. 1 lets Cyrillic letters
// typed into a TranslitEdit pass unchanged; any other value transliterates
// them to Latin. 0 at start. The Messages page sets it when one of its text
// fields takes the focus; the full program's shell clears it when the
// Properties page is chosen.
std::int32_t CyrillicAllowed();
void SetCyrillicAllowed(std::int32_t value);

}  // namespace korvex
