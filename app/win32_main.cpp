// Velmorin's Windows entry point: the window class, the window, the display mode, the loop.
#include <windows.h>

#include "app/exit_handlers.h"
#include "app/shell.h"
#include "app/win32_graphics.h"
#include "app/win32_window.h"
#include "render/error_report.h"

HINSTANCE instanceHandle = nullptr;

namespace {

constexpr const char* kWindowClassName = "Velmorin";
constexpr const char* kErrorCaption = "Error";
constexpr const char* kRegisterFailed = "Could not register window";
constexpr const char* kCreateFailed = "Could not create window";
constexpr const char* kDisplayChangeFailed = "Could not change display settings";

// Every error report of the program, start-up and picture loading alike, is this modal box. Its
// modal loop goes on dispatching to the window, so frames keep running behind it.
void showErrorBox(const char* text) {
    MessageBoxA(nullptr, text, kErrorCaption, MB_OK);
    // A signal that came while the box was up is acted on now, before anything else runs.
    exitOnPendingSignal();
}

bool registerWindowClass() {
    WNDCLASSA windowClass{};
    // CS_OWNDC: a private device context, obtained once and kept for the window's whole life.
    windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instanceHandle;
    windowClass.hIcon = nullptr;
    windowClass.hCursor = nullptr;
    windowClass.hbrBackground = nullptr; // the system never erases what GL has drawn
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = kWindowClassName;
    return RegisterClassA(&windowClass) != 0;
}

// The full-screen metrics measure the client area of a maximised window (the screen less task
// bar and caption), so the change is asked for on nearly every desktop, and changes nothing
// on one that already runs at 800 by 600.
bool enterDisplayMode() {
    DEVMODEA displayMode{};
    displayMode.dmSize = sizeof(displayMode);
    EnumDisplaySettingsA(nullptr, 0, &displayMode);
    const int fullScreenWidth = GetSystemMetrics(SM_CXFULLSCREEN);
    const int fullScreenHeight = GetSystemMetrics(SM_CYFULLSCREEN);
    if (fullScreenWidth == kScreenWidth && fullScreenHeight == kScreenHeight) {
        return true;
    }
    // Only the resolution is flagged: colour depth and refresh rate stay as they are.
    displayMode.dmPelsWidth = kScreenWidth;
    displayMode.dmPelsHeight = kScreenHeight;
    displayMode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    // Flags 0: a temporary change, not written to the stored settings.
    return ChangeDisplaySettingsA(&displayMode, 0) == DISP_CHANGE_SUCCESSFUL;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previousInstance*/, LPSTR /*commandLine*/,
                   int /*showCommand*/) {
    installExitHandlers();
    setErrorReporter(showErrorBox);
    instanceHandle = instance;
    windowPalette = nullptr;
    if (!registerWindowClass()) {
        reportError(kRegisterFailed);
        return 0;
    }
    // WM_CREATE runs during this call: the GL context, the fixed GL state and the scene exist
    // when it returns.
    mainWindow = CreateWindowExA(0, kWindowClassName, kWindowTitle,
                                 WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, kScreenWidth,
                                 kScreenHeight, nullptr, nullptr, instanceHandle, nullptr);
    if (mainWindow == nullptr) {
        reportError(kCreateFailed);
        return 0;
    }
    ShowWindow(mainWindow, SW_SHOW); // whatever show command the caller passed
    if (!enterDisplayMode()) {
        reportError(kDisplayChangeFailed);
        return 0;
    }
    UpdateWindow(mainWindow); // the first frame, before the loop starts
    ShowCursor(FALSE);
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) != 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    exitOnPendingSignal(); // a signal that came as the window was closing
    return static_cast<int>(message.wParam);
}
