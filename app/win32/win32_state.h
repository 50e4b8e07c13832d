// The Windows shell's one record: the handles and flags that its files share.
#pragma once

#include <windows.h>

struct Win32State {
    HINSTANCE instance = nullptr; // the program's module, owner of the window class
    HWND window = nullptr;        // the one window; null until CreateWindowExA returns
    HDC deviceContext = nullptr;  // the window's own device context, kept from creation on
    HGLRC glContext = nullptr;    // current on the window's thread from creation to teardown
    HPALETTE palette = nullptr;   // null when the pixel format needs no palette
    RECT clientRect{};            // the client area at creation; every frame validates it
    // Whether the teardown puts the stored display mode back. Only the switched full-screen mode
    // changes it; every other mode leaves the display alone, also at the end.
    bool displayModeOwned = true;
};

// The shell's one instance, alive from start to exit. WinMain fills in what the command line
// decides; the window procedure and the teardown fill in and release the rest.
Win32State* win32State();
