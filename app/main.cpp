// Velmorin's entry point: start-up in its fixed order, then frames until the loop is told to end.
#include "app/exit_handlers.h"
#include "app/platform.h"
#include "app/window.h"
#include "render/error_report.h"

namespace {

void runMessageLoop() {
    while (!windowQuitRequested()) {
        // Signals are acted on here, between frames, never while a frame uses the bodies.
        exitOnPendingSignal();
        PlatformEvent event;
        while (!windowQuitRequested() && platformPollEvent(&event)) {
            windowHandleEvent(event);
        }
        if (!windowQuitRequested()) {
            windowPaint();
        }
    }
}

} // namespace

int main() {
    installExitHandlers();
    setErrorReporter(showErrorBox);
    if (!platformInit(PlatformVideo::Display)) {
        reportError("Could not register window");
        return 0;
    }
    if (!windowCreate()) {
        reportError("Could not create window");
        return 0;
    }
    platformShowWindow();
    if (!platformEnterDisplayMode(kScreenWidth, kScreenHeight)) {
        reportError("Could not change display settings");
        return 0;
    }
    exitOnPendingSignal();
    windowPaint();
    platformHideCursor();
    runMessageLoop();
    return 0;
}
