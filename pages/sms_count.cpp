#include "pages/sms_count.h"

namespace korvex {

// Characters of code page 1251 (the stored form) all lie in the basic plane,
// so one UTF-16 unit is one character.
int SmsCharacters(const QString& text, bool /*cyrillic*/) { return static_cast<int>(text.size()); }

}  // namespace korvex
