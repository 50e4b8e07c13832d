// Exit signals on POSIX systems: sigaction with the sender's identity, so that the process's own
// abort() can be told from a SIGABRT sent from outside.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "app/exit_handlers.h"

namespace {

// SIGHUP takes the place of the console's break signal: a closed terminal asks us to end.
constexpr HandledSignal kHandledSignals[] = {
    {SIGINT, "signal(SIGINT, ...)"},
    {SIGTERM, "signal(SIGTERM, ...)"},
    {SIGHUP, "signal(SIGHUP, ...)"},
    {SIGABRT, "signal(SIGABRT, ...)"},
};

// abort() and raise() signal the thread itself, with our own pid as the sender; kill from
// another process carries that process's pid.
bool raisedByThisProcess(const siginfo_t* info) {
    return info != nullptr && info->si_pid == getpid() &&
           (info->si_code == SI_TKILL || info->si_code == SI_USER);
}

} // namespace

void onExitSignal(int signalNumber, siginfo_t* info, void* /*context*/) {
    if (signalNumber == SIGABRT && raisedByThisProcess(info)) {
        // A crash: with the default action back in place, abort() ends the process as one.
        std::signal(SIGABRT, SIG_DFL);
        return;
    }
    recordExitSignal(signalNumber);
}

void installExitHandlers() {
    exitCleanupDone = false;
    std::atexit(onProcessExit);
    for (const HandledSignal& handled : kHandledSignals) {
        struct sigaction action {};
        action.sa_sigaction = onExitSignal;
        action.sa_flags = SA_SIGINFO | SA_RESTART;
        sigemptyset(&action.sa_mask);
        if (sigaction(handled.number, &action, nullptr) != 0) {
            std::perror(handled.perrorText);
        }
    }
}
