#pragma once
#include "link/profile.h"

namespace korvex {

// Words of the Messages page (UTF-8).
struct MessagesTexts {
    const char* numberHeading;    // over the line numbers
    const char* textHeading;      // over the text edits
    const char* cyrillicHeading;  // over the boxes
    const char* lineLabel;        // followed by the line number 1..8
    const char* yes;              // caption of a checked box
    const char* no;               // caption of a clear box
};

const MessagesTexts& MessagesTextsFor(ModuleKind kind);

}  // namespace korvex
