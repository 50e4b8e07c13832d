// The Win32 backend's window procedure: creation, resize, frames, keys, palette and teardown.
#pragma once

#include <windows.h>

#include "app/options.h"

// What the window does beyond its fixed behaviour: the scene's seed, the frame cap, the swap
// interval and the frame-rate text. Set before the window is created.
void windowUseOptions(const DemoOptions& options);

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
