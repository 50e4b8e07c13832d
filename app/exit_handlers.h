// Every way out of the process goes through one cleanup; console signals end it in order.
#pragma once

#include <atomic>
#include <csignal>

// Lock-free atomics are safe inside a signal handler and, unlike a volatile flag, also between
// threads: on Windows the console's signals arrive on a thread of their own.
static_assert(std::atomic<int>::is_always_lock_free);
extern std::atomic<int> signalCount; // signals received, never reset
extern bool exitCleanupDone;         // set by the first run of onProcessExit

// Registers onProcessExit with atexit and onExitSignal for SIGINT, SIGTERM, SIGABRT and the
// break signal: SIGBREAK on Windows, SIGHUP (a closed terminal) elsewhere.
void installExitHandlers();
#if defined(_WIN32)
// Only records the signal and wakes the window's thread, which prints the notice and exits
// between frames (exitOnPendingSignal). A SIGABRT always comes from the process itself (no other
// process can send one), so it is a crash and is let through.
void onExitSignal(int signalNumber);
#else
// Only records the signal: printing and exiting are not safe inside a handler, and a frame may
// be using the bodies. The main loop acts on it between frames (exitOnPendingSignal). A SIGABRT
// that the process raised itself (abort, a failed assertion) is a crash and is let through.
void onExitSignal(int signalNumber, siginfo_t* info, void* context);
#endif
// The atexit callback: once only, frees the bodies and tears the graphics down.
void onProcessExit();

// Counts the signal and marks it pending; for the platform's handlers.
void recordExitSignal(int signalNumber);
// True once a signal has asked the process to end.
bool exitSignalPending();
// When a signal is pending: prints the notice with its number and the count, and exits with 0.
void exitOnPendingSignal();

// A signal that asks the process to end, with the text perror gets when it cannot be installed.
struct HandledSignal {
    int number;
    const char* perrorText;
};
