// Velmorin's Windows entry point: the command line, the window class, the window, the display
// mode, the loop.
#include <windows.h>

#include <cstdlib>

#include "app/exit_handlers.h"
#include "app/shell.h"
#include "app/win32/win32_command_line.h"
#include "app/win32/win32_graphics.h"
#include "app/win32/win32_placement.h"
#include "app/win32/win32_saver.h"
#include "app/win32/win32_saver_registry.h"
#include "app/win32/win32_window.h"
#include "common/picture_search.h"
#include "render/error_report.h"
#include "render/picture_folder.h"

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

// The saver puts its own rules in front of the window procedure; a window that shows the cursor
// shows the usual arrow over the scene.
bool registerWindowClass(HINSTANCE instance, WNDPROC procedure, bool showsCursor) {
    WNDCLASSA windowClass{};
    // CS_OWNDC: a private device context, obtained once and kept for the window's whole life.
    windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = nullptr;
    windowClass.hCursor = showsCursor ? LoadCursorA(nullptr, IDC_ARROW) : nullptr;
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

// Windows starts a saver in its system folder: its pictures are beside it, or where the
// installer put them when it is the copy installed in the system folder.
void choosePictureFolder(const Win32Launch& launch) {
    const std::string executableDir = win32ExecutableDir();
    if (win32RoleIsSaver(launch.role)) {
        setPictureFolder(
            findSaverPictureFolder(executableDir, win32InstalledFolder(), pictureFileExists));
    } else {
        setPictureFolder(
            findPictureFolder(launch.options.picturesDir, executableDir, pictureFileExists));
    }
}

// The roles that show no scene; the result is the exit status, -1 for the others.
int runWindowlessRole(const Win32Launch& launch) {
    switch (launch.role) {
    case Win32Role::Settings:
        showSaverSettings(launch.hostWindow);
        return 0;
    case Win32Role::Nothing:
        return 0; // the convention for a saver asked what it cannot do: end without a word
    case Win32Role::Demo:
    case Win32Role::Saver:
    case Win32Role::Preview:
        break;
    }
    return -1;
}

void messageLoop(MSG* message) {
    while (GetMessageA(message, nullptr, 0, 0) != 0) {
        TranslateMessage(message);
        DispatchMessageA(message);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previousInstance*/, LPSTR /*commandLine*/,
                   int /*showCommand*/) {
    // Help, version, bad usage and the windowless saver roles end before anything is shown.
    Win32Launch launch;
    int answered = win32ReadCommandLine(__argc, __argv, &launch);
    if (answered < 0) {
        answered = runWindowlessRole(launch);
    }
    if (answered >= 0) {
        return answered;
    }
    const bool saver = win32RoleIsSaver(launch.role);
    if (saver) {
        saverReadSettings(&launch.options);
    }
    installExitHandlers();
    setErrorReporter(saver ? reportSaverError : showErrorBox);
    choosePictureFolder(launch);
    Win32State* state = win32State();
    state->instance = instance;
    const WindowPlacement placement = windowPlacementFor(launch);
    state->displayModeOwned =
        launch.role == Win32Role::Demo && launch.options.mode == WindowMode::SwitchedFullScreen;
    windowUseOptions(launch.options);
    saverUseRole(launch.role == Win32Role::Preview, launch.hostWindow);
    if (!registerWindowClass(instance, saver ? saverWindowProc : windowProc,
                             !placement.hideCursor)) {
        reportError(kRegisterFailed);
        return 0;
    }
    // WM_CREATE runs during this call: the GL context, the fixed GL state and the scene exist
    // when it returns.
    state->window =
        CreateWindowExA(placement.extendedStyle, kWindowClassName, kWindowTitle, placement.style,
                        placement.x, placement.y, placement.width, placement.height,
                        placement.parent, nullptr, state->instance, nullptr);
    if (state->window == nullptr) {
        reportError(kCreateFailed);
        return 0;
    }
    ShowWindow(state->window, placement.showCommand); // whatever show command the caller passed
    if (state->displayModeOwned && !enterDisplayMode()) {
        reportError(kDisplayChangeFailed);
        return 0;
    }
    UpdateWindow(state->window); // the first frame, before the loop starts
    if (placement.hideCursor) {
        ShowCursor(FALSE);
    }
    MSG message{};
    messageLoop(&message);
    exitOnPendingSignal(); // a signal that came as the window was closing
    return static_cast<int>(message.wParam);
}
