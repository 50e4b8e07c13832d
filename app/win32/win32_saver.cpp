// The Windows screensaver's window rules: what ends it, its cursor, its settings, its errors.
#include "app/win32/win32_saver.h"

#include <cstdio>
#include <string>
#include <windowsx.h>

#include "app/saver_pointer.h"
#include "app/win32/win32_saver_registry.h"
#include "app/win32/win32_settings_dialog.h"
#include "app/win32/win32_window.h"

namespace {

constexpr UINT_PTR kParentWatchTimer = 1;
// The preview normally goes with its parent's destruction; this catches a parent that vanishes
// without taking its children along (its process killed).
constexpr UINT kParentWatchMs = 250;

bool previewRole = false;
HWND previewParent = nullptr;
bool ending = false;
SaverPointer pointer;

// Closing destroys the window, which tears down and ends the loop: exit status 0.
void endSaver(HWND window) {
    if (!ending) {
        ending = true;
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
}

// Full screen: anything the user does ends the saver.
bool isUserInput(UINT message) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        return true;
    default:
        return false;
    }
}

LRESULT handleFullScreen(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (isUserInput(message)) {
        endSaver(window);
        return 0;
    }
    switch (message) {
    case WM_MOUSEMOVE:
        if (saverPointerMoveEnds(&pointer, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) {
            endSaver(window);
        }
        return 0;
    case WM_SETCURSOR:
        SetCursor(nullptr); // no pointer over the scene
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            endSaver(window); // another window came to the front
        }
        break; // the default handling gives an activated window the keyboard focus
    case WM_ACTIVATEAPP:
        if (wParam == FALSE) {
            endSaver(window);
        }
        break;
    default:
        break;
    }
    return windowProc(window, message, wParam, lParam);
}

LRESULT handlePreview(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        SetTimer(window, kParentWatchTimer, kParentWatchMs, nullptr);
        return windowProc(window, message, wParam, lParam);
    case WM_TIMER:
        if (wParam == kParentWatchTimer && !IsWindow(previewParent)) {
            DestroyWindow(window);
        }
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        // Keys belong to the dialog around the preview; Escape there must not end the process.
        return DefWindowProcA(window, message, wParam, lParam);
    default:
        return windowProc(window, message, wParam, lParam);
    }
}

} // namespace

void saverUseRole(bool preview, HWND parent) {
    previewRole = preview;
    previewParent = parent;
    ending = false;
    pointer = SaverPointer{};
}

LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return previewRole ? handlePreview(window, message, wParam, lParam)
                       : handleFullScreen(window, message, wParam, lParam);
}

void showSaverSettings(HWND owner) {
    SaverSettings settings = win32LoadSaverSettings();
    // Started without an owner (from the file itself, or /c alone), the dialog belongs to
    // whatever window the user started it from.
    if (win32RunSettingsDialog(owner != nullptr ? owner : GetForegroundWindow(), &settings)) {
        win32StoreSaverSettings(settings);
    }
}

void saverReadSettings(DemoOptions* options) {
    const SaverSettings settings = win32LoadSaverSettings();
    saverSettingsApply(settings, options);
    OutputDebugStringA((saverSettingsDescribe(settings) + "\n").c_str());
}

void reportSaverError(const char* text) {
    std::fprintf(stderr, "Error: %s\n", text);
    std::fflush(stderr);
    OutputDebugStringA((std::string("Velmorin: ") + text + "\n").c_str());
}
