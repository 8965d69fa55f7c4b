#pragma once

namespace korvex::cli {

// Ctrl+C (SIGINT) and SIGTERM. Outside a module session a signal ends the
// program at once: its temporary files and lock files are removed, then the
// signal ends it. While a session holds the module (a StopOnSignal lives)
// the first signal is noted and its transfer stops at the bus's next safe
// point (StopSignalled is the bus's stop check): the command ends as on a
// failure, the module keeps what it was sent, and main ends the program by
// that signal (EndBySignal). A second signal ends it at once.
void InstallSignalHandlers();

// While it lives, a signal stops the transfers instead of the program.
class StopOnSignal {
public:
    StopOnSignal();
    ~StopOnSignal();
    StopOnSignal(const StopOnSignal&) = delete;
    StopOnSignal& operator=(const StopOnSignal&) = delete;
};

// True once a signal asked the transfers to stop.
bool StopSignalled();
// That signal; 0 for none.
int StoppingSignal();

// Ends the program as `signal` ends it by default, so the shell sees
// 128 + signal; temporary and lock files removed first.
[[noreturn]] void EndBySignal(int signal);

}  // namespace korvex::cli
