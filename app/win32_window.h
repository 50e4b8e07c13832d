// The Win32 backend's window procedure: creation, resize, frames, keys, palette and teardown.
#pragma once

#include <windows.h>

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
