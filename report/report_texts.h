#pragma once
#include "link/profile.h"

namespace korvex {

// Words of the comparison and the as-commissioned report (UTF-8).
struct ReportTexts {
    const char* title;          // heading of the report
    const char* module;         // "Module" row label
    const char* moduleKind;     // the profile's module in words
    const char* version;        // program version row label
    const char* date;           // report date row label
    const char* field;          // column headings
    const char* value;
    const char* page;
    const char* slotLength;     // the voice table's columns
    const char* slotDuration;
    const char* bytes;          // unit after a byte count
    const char* seconds;        // unit after a duration
    char decimalPoint;          // as the status line writes tenths: "4,4 с", "4.4 s"
    const char* voiceHeading;
    const char* logHeading;
    const char* noDifferences;
    const char* left;           // the two sides of a comparison
    const char* right;
};

const ReportTexts& ReportTextsFor(ModuleKind kind);

}  // namespace korvex
