#pragma once
#include "link/profile.h"

namespace korvex {

// Words of the comparison and the as-commissioned report (UTF-8).
struct ReportTexts {
    const char* title;          // heading of the report
    const char* object;         // the object name's row label
    const char* project;        // the project file's row label
    const char* notSaved;       // ... when the settings are in no file
    const char* off;            // the value of a line of settings that are off
    const char* noNumber;       // after a phone choice whose phone has no number
    const char* pageOf;         // "%1" the page, "%2" the pages, at the foot
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
