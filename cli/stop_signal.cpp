#include "cli/stop_signal.h"

#include <atomic>
#include <csignal>
#include <cstdlib>

#include "model/file_io.h"
#include "sim/port_factory.h"

namespace korvex::cli {

namespace {

std::atomic<bool> inTransfer{false};
std::atomic<int> stopSignal{0};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "read and written by a signal handler");

extern "C" void OnSignal(int signal) {
    int none = 0;
    if (inTransfer.load() && stopSignal.compare_exchange_strong(none, signal)) {
#ifdef _WIN32
        // Windows resets the handler before calling it.
        std::signal(signal, OnSignal);
#endif
        return;
    }
    RemovePendingTemporaryFiles();
    RemoveHeldLockFiles();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

void InstallSignalHandlers() {
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
}

StopOnSignal::StopOnSignal() { inTransfer.store(true); }

StopOnSignal::~StopOnSignal() { inTransfer.store(false); }

bool StopSignalled() { return stopSignal.load(std::memory_order_relaxed) != 0; }

int StoppingSignal() { return stopSignal.load(); }

void EndBySignal(int signal) {
    RemovePendingTemporaryFiles();
    RemoveHeldLockFiles();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    // A signal the system does not end a program with.
    std::_Exit(128 + signal);
}

}  // namespace korvex::cli
