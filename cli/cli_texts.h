#pragma once
#include <string_view>

#include "link/profile.h"

namespace korvex::cli {

// The tool's own messages, one table per language. The module outcomes
// themselves use the core's texts (Profile::texts, OutcomeText, the voice
// and WAV texts).
struct CliTexts {
    std::string_view commandLine;      // before the parser's own message
    std::string_view simulatedOnly;    // --trace / --sim-fault on a serial port
    std::string_view unknownFault;     // followed by the fault as given
    std::string_view unknownPortModel; // followed by the name and the known ones
    std::string_view unknownBusTiming; // followed by the name
    std::string_view unknownPace;      // followed by the name
    std::string_view noLog;            // the compact module has no event log
    std::string_view badDate;          // --date that is no date
    std::string_view badComPort;       // COMn with n outside 1..255: followed by the name
    std::string_view sameFile;         // an output that is an input too: followed by the file
    std::string_view sameOutput;       // two outputs of one command are one file: followed by the file
    std::string_view noCommand;        // after commandLine; then commandList
    std::string_view unknownCommand;   // after commandLine: followed by the name, then commandList
    std::string_view commandList;      // before the commands, comma-separated, then ")"
    // The parser's own findings, after commandLine.
    std::string_view missingArgument;  // a required option or argument not given: followed by its name
    std::string_view missingValue;     // an option without (all) its values: followed by its name
    std::string_view unexpected;       // arguments no command takes and unknown options: followed by them
    std::string_view badValue;         // followed by the option's name, then badValueIs and the value
    std::string_view badValueIs;
    std::string_view allowedValues;  // after the value: followed by the values, then ")"
    std::string_view notTogether;    // between two options that exclude each other
    std::string_view unparsed;       // anything else the parser refuses
    std::string_view noPort;         // a module command without --port or KORVEX_PORT: then the ports
    std::string_view simFilePort;    // the sim: entry of that list

    std::string_view portError;        // a line call failed; followed by the system's text
    std::string_view stopped;          // a transfer stopped by Ctrl+C
    std::string_view partialWrite;     // the line after portError when a write was cut short
    std::string_view cachedStatus;     // --bus spec on a cable whose status is cached
    std::string_view moduleFileRead;   // followed by "file: reason"
    std::string_view moduleFileCreate;
    std::string_view moduleFileSave;
    std::string_view moduleFileSize;   // followed by the file, then its size in brackets
    std::string_view atAddress;        // "address" word after a write error

    std::string_view fileOpen;         // followed by "file: reason"
    std::string_view fileRead;
    std::string_view fileCreate;
    std::string_view fileReplace;      // an existing file whose folder takes no new file: then "file: "
    std::string_view noNewFileBeside;  // after it, before the system's reason in brackets
    std::string_view fileWrite;
    std::string_view fileSize;         // "... must be N bytes long: file (M)": before N
    std::string_view fileSizeBytes;    // after N
    std::string_view traceFile;        // the trace file could not be created or written
    std::string_view fileTooLarge;     // followed by the file and the limit

    // build: the key, then one of these.
    std::string_view badJson;          // before the parser's message
    std::string_view notAnObject;
    std::string_view unknownKey;
    std::string_view expectString;
    std::string_view expectNumber;
    std::string_view expectBool;
    std::string_view expectObject;
    std::string_view expectArray;      // followed by the number of items
    std::string_view expectArrayItems;
    std::string_view noCp1251;         // followed by the character
    std::string_view textTooLong;      // followed by the limit
    std::string_view latinOnly;        // a GSM 7-bit text: followed by the character
    std::string_view septets;          // after a GSM 7-bit text's limit
    std::string_view sevenBitOnly;     // the PGM password: followed by the character
    std::string_view fullOnlyKey;      // a full-only field given for the compact module
    std::string_view badNumber;        // phone and SMS centre numbers: before the most digits
    std::string_view badNumberDigits;  // after them
    std::string_view outOfRange;       // followed by the allowed values
    std::string_view zeroCharacter;

    // Voice.
    std::string_view badSlot;          // followed by the slot's allowed range
    std::string_view slotTwice;
    std::string_view slotWord;         // "slot N" after a write error
    std::string_view readsDisagree;    // two reads of a kept slot differ: followed by the slot
    std::string_view directoryWord;    // the voice directory after a write error
    std::string_view directoryDoesNotFit;
    std::string_view freshHint;
};

// The table of the profile's language.
const CliTexts& TextsFor(const Profile& profile);

// The line after a damaged marker: how to write it, for the profile's module
// (its option and marker bytes) in its language.
std::string_view WriteMarkerHint(const Profile& profile);

}  // namespace korvex::cli
