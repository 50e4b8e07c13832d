// The window procedure of the Windows shell: GL set-up at WM_CREATE, resizes, paced frames,
// Escape, palette messages and teardown at WM_DESTROY.
#include "app/win32/win32_window.h"

#include "app/background_painter.h"
#include "app/exit_handlers.h"
#include "app/fps_counter.h"
#include "app/shell.h"
#include "app/shell_scene.h"
#include "app/win32/win32_exit_signals.h"
#include "app/win32/win32_graphics.h"
#include "app/win32/win32_pacing.h"
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
    Win32State* state = win32State();
    state->deviceContext = GetDC(window);
    setupPixelFormat(state->deviceContext);
    state->palette = setupPalette(state->deviceContext);
    state->glContext = wglCreateContext(state->deviceContext);
    wglMakeCurrent(state->deviceContext, state->glContext);
    if (windowOptions.noVsync) {
        disableSwapInterval();
    }
    win32PacingInit(effectiveMaxFps(windowOptions, displayRefreshRate()), swapIntervalActive());
    shellCreateScene(windowOptions);
    GetClientRect(window, &state->clientRect);
    startBackgroundPainter(windowOptions, state->clientRect.right, state->clientRect.bottom);
    return 0;
}

// Minimised, or a preview whose host window is hidden (IsWindowVisible looks at the parents).
bool nobodySees(HWND window) {
    return IsIconic(window) != 0 || IsWindowVisible(window) == 0;
}

// One frame, then at once the request for the next: validating the creation-time rectangle
// removes this paint request, invalidating without erase queues the next one, which the loop
// delivers as soon as nothing else is waiting.
LRESULT onPaint(HWND window) {
    exitOnPendingSignal(); // a signal ends the process here, never while a frame uses the bodies
    if (nobodySees(window)) {
        // No request for the next frame: the loop waits for messages until restoring or showing
        // the window paints it again, and the frame timing leaves the gap out.
        ValidateRect(window, nullptr);
        frameTimingNoteGap();
        return 0;
    }
    if (!win32PacingFrameDue()) {
        return 0; // a message came first; the window stays invalid and paints once it is served
    }
    showPaintedBackground();
    renderFrame();
    if (windowOptions.showFps) {
        shellDrawFrameRate(&fpsCounter, drawableWidth, drawableHeight);
    }
    SwapBuffers(win32State()->deviceContext);
    ValidateRect(window, &win32State()->clientRect);
    InvalidateRect(window, nullptr, FALSE);
    return 0;
}

LRESULT onQueryNewPalette(HWND window) {
    const Win32State* state = win32State();
    if (state->palette == nullptr) {
        return 0;
    }
    SelectPalette(state->deviceContext, state->palette, FALSE);
    const UINT mapped = RealizePalette(state->deviceContext);
    InvalidateRect(window, nullptr, FALSE);
    return static_cast<LRESULT>(mapped);
}

LRESULT onPaletteChanged(HWND window, WPARAM changedBy) {
    // Our own realisation is announced to us too; only another window's needs an answer.
    const Win32State* state = win32State();
    if (state->palette != nullptr && reinterpret_cast<HWND>(changedBy) != window) {
        SelectPalette(state->deviceContext, state->palette, FALSE);
        RealizePalette(state->deviceContext);
        UpdateColors(state->deviceContext);
    }
    return 0;
}

} // namespace

void windowUseOptions(const DemoOptions& options) {
    windowOptions = options;
    fpsCounter = FpsCounter{};
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
        resizeBackgroundPainter(LOWORD(lParam), HIWORD(lParam));
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
