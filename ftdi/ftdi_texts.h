#pragma once
#include <string_view>

#include "link/profile.h"

namespace korvex {

// What the FTDI bit-bang path tells, one table per program.
struct FtdiTexts {
    std::string_view noBackEnd;
    std::string_view notFound;
    std::string_view noPermission;
    std::string_view detachRefused;
    std::string_view useComPort;
};
const FtdiTexts& FtdiTextsFor(const Profile& profile);

}  // namespace korvex
