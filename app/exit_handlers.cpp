// The one exit cleanup, run once from atexit, and the pending-signal bookkeeping the shells share.
// The handlers' installation is the platform's (exit_signals_posix.cpp, win32_exit_signals.cpp).
#include "app/exit_handlers.h"

#include <cstdio>
#include <cstdlib>

#include "app/shell.h"
#include "sim/world.h"

std::atomic<int> signalCount{0};
bool exitCleanupDone = false;

namespace {

std::atomic<int> pendingSignal{0};

} // namespace

void recordExitSignal(int signalNumber) {
    signalCount.fetch_add(1);
    pendingSignal.store(signalNumber);
}

void onProcessExit() {
    if (exitCleanupDone) {
        return;
    }
    exitCleanupDone = true;
    freeBodies();
    teardownGraphics();
}

bool exitSignalPending() {
    return pendingSignal.load() != 0;
}

void exitOnPendingSignal() {
    const int signalNumber = pendingSignal.load();
    if (signalNumber == 0) {
        return;
    }
    std::printf(
        "\n[dtest_exit_signal_handler] received INT/TERM signal %d [%d times], exiting...\n",
        signalNumber, signalCount.load());
    std::exit(0);
}
