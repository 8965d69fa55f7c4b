#pragma once
#include <chrono>
#include <string>
#include <string_view>

#include "link/profile.h"
#include "sim/transfer_estimate.h"

namespace korvex {

// The words of the transfers' status line and their questions, by program.
struct TransferTexts {
    std::string_view readConfig;
    std::string_view writeConfig;
    std::string_view readSound;
    std::string_view writeSound;
    std::string_view clearLog;
    std::string_view emptyLog;
    std::string_view logPrefix;     // before the record count
    // A count's noun: after 1 (21, 31...), after 2 to 4 (22...), after the rest.
    std::string_view recordOne;
    std::string_view recordFew;
    std::string_view recordMany;
    std::string_view failed;
    std::string_view stopped;  // the user stopped it
    // A fast write that found the module holding it all already.
    std::string_view nothingChanged;
    const DurationWords* duration;  // the estimate before, the time taken after
    std::string_view portFailure;   // a failed port call whose code has no system text
    std::string_view partialWrite;  // the line after a port failure that cut a write short
    std::string_view memoryNotKept;  // a simulated module's file cannot store what the module holds
    std::string_view confirmEmptyConfig;
    std::string_view confirmEmptySound;
    std::string_view confirmClearLog;
    std::string_view confirmWriteMarker;  // a damaged marker: write the program's own over it?
    std::string_view stop;                // the button beside a running transfer's bar
    std::string_view stopTip;
    std::string_view askStopToClose;  // closing while a transfer runs
    std::string_view stopAndClose;
    std::string_view keepWaiting;
};

const TransferTexts& TransferTextsFor(const Profile& profile);

// What a transfer did, for the status line.
enum class TransferKind { ReadConfig, WriteConfig, ReadSound, WriteSound, ReadLog, ClearLog };

struct TransferReportOf {
    TransferKind kind;
    bool done = false;                  // false: it failed or was stopped
    std::chrono::milliseconds elapsed{0};
    int records = 0;                    // ReadLog: the records read
    bool stopped = false;               // the user stopped it
    bool nothingChanged = false;        // done without a byte written: the module held it all
};

// The status line after a transfer: "Данные записаны и проверены (1,9 с)",
// "Configuration read (0.4 s)", "Журнал: 42 записи (0,8 с)"; a write that
// had nothing to send says so, without a time.
std::string TransferReport(const Profile& profile, const TransferReportOf& what);

// "1,9 с" / "0.4 s": tenths of a second, rounded; "2 мин 5 с" from a minute on.
std::string ElapsedText(const Profile& profile, std::chrono::milliseconds elapsed);
// "около 48 с" / "about 48 s": the status line while a transfer runs.
std::string EstimateText(const Profile& profile, double seconds);

// "42 записи", "1 запись", "5 записей" / "42 records", "1 record".
std::string RecordCount(const Profile& profile, int count);

}  // namespace korvex
