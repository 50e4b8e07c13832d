// Every way out of the process goes through one cleanup; console signals end it in order.
#pragma once

#include <csignal>

extern volatile std::sig_atomic_t signalCount; // signals received, never reset
extern bool exitCleanupDone;                   // set by the first run of onProcessExit

// Registers onProcessExit with atexit and onExitSignal for SIGINT, SIGTERM, SIGHUP and SIGABRT.
void installExitHandlers();
// Only records the signal: printing and exiting are not safe inside a handler, and a frame may
// be using the bodies. The main loop acts on it between frames (exitOnPendingSignal). A SIGABRT
// that the process raised itself (abort, a failed assertion) is a crash and is let through.
void onExitSignal(int signalNumber, siginfo_t* info, void* context);
// The atexit callback: once only, frees the bodies and tears the graphics down.
void onProcessExit();

// True once a signal has asked the process to end.
bool exitSignalPending();
// When a signal is pending: prints the notice with its number and the count, and exits with 0.
void exitOnPendingSignal();
