// The Win32 backend's window procedure: creation, resize, frames, keys, palette and teardown.
#include "app/win32_window.h"

#include "app/exit_handlers.h"
#include "app/fps_counter.h"
#include "app/shell.h"
#include "app/shell_scene.h"
#include "app/win32_exit_signals.h"
#include "app/win32_graphics.h"
#include "app/win32_pacing.h"
#include "render/frame.h"

namespace {

constexpr WPARAM kScreenSaveCommand = SC_SCREENSAVE; // compared whole, low bits included
DemoOptions windowOptions;
// The client area's size now, for what is drawn in window pixels.
int drawableWidth = 0;
int drawableHeight = 0;
FpsCounter fpsCounter;

// The order carries weight: the context must be current before GL objects are made, and the
// generator is seeded (setupGL) before the scene draws its random values.
LRESULT onCreate(HWND window) {
    exitSignalSetWindow(window);
    windowDC = GetDC(window);
    setupPixelFormat(windowDC);
    windowPalette = setupPalette(windowDC);
    glContext = wglCreateContext(windowDC);
    wglMakeCurrent(windowDC, glContext);
    if (windowOptions.noVsync) {
        disableSwapInterval();
    }
    shellCreateScene(windowOptions);
    GetClientRect(window, &clientRect);
    return 0;
}

// One frame, then at once the request for the next: validating the creation-time rectangle
// removes this paint request, invalidating without erase queues the next one, which the loop
// delivers as soon as nothing else is waiting.
LRESULT onPaint(HWND window) {
    exitOnPendingSignal(); // a signal ends the process here, never while a frame uses the bodies
    if (!win32PacingFrameDue()) {
        return 0; // a message came first; the window stays invalid and paints once it is served
    }
    renderFrame();
    if (windowOptions.showFps) {
        shellDrawFrameRate(&fpsCounter, drawableWidth, drawableHeight);
    }
    SwapBuffers(windowDC);
    ValidateRect(window, &clientRect);
    InvalidateRect(window, nullptr, FALSE);
    return 0;
}

LRESULT onQueryNewPalette(HWND window) {
    if (windowPalette == nullptr) {
        return 0;
    }
    SelectPalette(windowDC, windowPalette, FALSE);
    const UINT mapped = RealizePalette(windowDC);
    InvalidateRect(window, nullptr, FALSE);
    return static_cast<LRESULT>(mapped);
}

LRESULT onPaletteChanged(HWND window, WPARAM changedBy) {
    // Our own realisation is announced to us too; only another window's needs an answer.
    if (windowPalette != nullptr && reinterpret_cast<HWND>(changedBy) != window) {
        SelectPalette(windowDC, windowPalette, FALSE);
        RealizePalette(windowDC);
        UpdateColors(windowDC);
    }
    return 0;
}

} // namespace

void windowUseOptions(const DemoOptions& options) {
    windowOptions = options;
    fpsCounter = FpsCounter{};
    win32PacingInit(effectiveMaxFps(options));
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return onCreate(window);
    case WM_DESTROY:
        exitSignalSetWindow(nullptr);
        teardownGraphics();
        return 0;
    case WM_SIZE:
        drawableWidth = LOWORD(lParam);
        drawableHeight = HIWORD(lParam);
        resizeViewport(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_PAINT:
        return onPaint(window);
    case WM_KEYDOWN:
        handleKeyDown(static_cast<int>(wParam));
        return 0;
    case WM_SYSCOMMAND:
        if (wParam == kScreenSaveCommand) {
            return 0; // the screen saver must not start while the demo runs
        }
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_QUERYNEWPALETTE:
        return onQueryNewPalette(window);
    case WM_PALETTECHANGED:
        return onPaletteChanged(window, wParam);
    case kExitSignalMessage:
        exitOnPendingSignal();
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
