// Exit signals on Windows: the C runtime's signal() for SIGINT, SIGTERM, SIGBREAK and SIGABRT,
// and the hand-off of a console signal from the console's thread to the window's thread.
#include "app/win32/win32_exit_signals.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "app/exit_handlers.h"
#include "app/win32/win32_graphics.h"

namespace {

constexpr HandledSignal kHandledSignals[] = {
    {SIGINT, "signal(SIGINT, ...)"},
    {SIGTERM, "signal(SIGTERM, ...)"},
    {SIGBREAK, "signal(SIGBREAK, ...)"},
    {SIGABRT, "signal(SIGABRT, ...)"},
};

std::atomic<HWND> wakeWindow{nullptr};
// The thread that installed the handlers: the one that runs the window and every frame.
std::atomic<DWORD> windowThreadId{0};

} // namespace

void exitSignalSetWindow(HWND window) {
    wakeWindow.store(window);
}

void onExitSignal(int signalNumber) {
    if (signalNumber == SIGABRT) {
        // Nothing outside the process can send SIGABRT on Windows: this is abort() or a failed
        // assertion of our own, a crash, and abort() goes on to end the process as one (the
        // runtime has already put the default action back). Only the display is restored: the
        // exit cleanup will not run, and a changed mode may outlive the process.
        if (win32State()->displayModeOwned) {
            ChangeDisplaySettingsA(nullptr, 0);
        }
        return;
    }
    // The runtime resets the handler before calling it; put it back so that a second signal is
    // counted as well.
    std::signal(signalNumber, onExitSignal);
    recordExitSignal(signalNumber);
    const HWND window = wakeWindow.load();
    if (window != nullptr) {
        PostMessageA(window, kExitSignalMessage, 0, 0);
    }
    if (GetCurrentThreadId() == windowThreadId.load()) {
        return; // raised by the window's thread itself: it acts once it is back between frames
    }
    // SIGINT and SIGBREAK come from console events on a thread of the system's. When this
    // handler returns after some of them (closing the console window), the system ends the
    // process at once, before the window's thread has printed the notice and cleaned up. So this
    // thread waits: the window's thread ends the whole process, this thread included.
    for (;;) {
        Sleep(INFINITE);
    }
}

void installExitHandlers() {
    exitCleanupDone = false;
    windowThreadId.store(GetCurrentThreadId());
    std::atexit(onProcessExit);
    for (const HandledSignal& handled : kHandledSignals) {
        if (std::signal(handled.number, onExitSignal) == SIG_ERR) {
            std::perror(handled.perrorText);
        }
    }
}
