// The window's style, rectangle and parent for the demo's modes and the saver's roles.
#include "app/win32/win32_placement.h"

#include "app/shell.h"

namespace {

constexpr DWORD kNoSiblingsOrChildren = WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

// The demo as it always was: 800 by 600 at the top-left, the display switched to match.
WindowPlacement switchedPlacement() {
    WindowPlacement placement;
    placement.style = WS_POPUP | kNoSiblingsOrChildren;
    placement.width = kScreenWidth;
    placement.height = kScreenHeight;
    return placement;
}

// A decorated window whose client area, not its frame, has the size asked for.
WindowPlacement windowedPlacement(int clientWidth, int clientHeight) {
    WindowPlacement placement;
    placement.style = WS_OVERLAPPEDWINDOW | kNoSiblingsOrChildren;
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, placement.style, FALSE, placement.extendedStyle);
    placement.x = CW_USEDEFAULT; // the system places it (and then ignores y)
    placement.width = frame.right - frame.left;
    placement.height = frame.bottom - frame.top;
    placement.hideCursor = false;
    return placement;
}

// The primary screen at its current resolution.
WindowPlacement desktopPlacement() {
    WindowPlacement placement;
    placement.style = WS_POPUP | kNoSiblingsOrChildren;
    placement.width = GetSystemMetrics(SM_CXSCREEN);
    placement.height = GetSystemMetrics(SM_CYSCREEN);
    return placement;
}

// Every monitor at once, above every other window.
WindowPlacement saverPlacement() {
    WindowPlacement placement;
    placement.extendedStyle = WS_EX_TOPMOST;
    placement.style = WS_POPUP | kNoSiblingsOrChildren;
    placement.x = GetSystemMetrics(SM_XVIRTUALSCREEN);
    placement.y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    placement.width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    placement.height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    return placement;
}

// A child filling the system's preview window; it leaves activation and the cursor alone.
WindowPlacement previewPlacement(HWND parent) {
    WindowPlacement placement;
    placement.style = WS_CHILD | kNoSiblingsOrChildren;
    RECT client{};
    GetClientRect(parent, &client);
    placement.width = client.right - client.left;
    placement.height = client.bottom - client.top;
    placement.parent = parent;
    placement.showCommand = SW_SHOWNA;
    placement.hideCursor = false;
    return placement;
}

} // namespace

WindowPlacement windowPlacementFor(const Win32Launch& launch) {
    switch (launch.role) {
    case Win32Role::Saver:
        return saverPlacement();
    case Win32Role::Preview:
        return previewPlacement(launch.hostWindow);
    case Win32Role::Demo:
    case Win32Role::Settings:
    case Win32Role::Nothing:
        break;
    }
    switch (launch.options.mode) {
    case WindowMode::Windowed:
        return windowedPlacement(launch.options.windowWidth, launch.options.windowHeight);
    case WindowMode::Desktop:
        return desktopPlacement();
    case WindowMode::SwitchedFullScreen:
    case WindowMode::Saver: // the command line turns these three away
    case WindowMode::Wallpaper:
    case WindowMode::StandaloneSaver:
        break;
    }
    return switchedPlacement();
}
