#pragma once

namespace korvex {

// A calendar date; the full image stores the date it was packed on.
struct Date {
    int year = 0;   // stored as 16 bits
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    bool operator==(const Date&) const = default;
};

// The local date now. Only the programs' edges call it; core operations take
// the date as a parameter so that tests fix it.
Date Today();

}  // namespace korvex
