#include "app/app_flags.h"

namespace korvex {
namespace {
std::int32_t cyrillicAllowed = 0;
}  // namespace

std::int32_t CyrillicAllowed() { return cyrillicAllowed; }

void SetCyrillicAllowed(std::int32_t value) { cyrillicAllowed = value; }

}  // namespace korvex
