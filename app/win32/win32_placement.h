// Where and how the Win32 shell's one window appears in each role and mode.
#pragma once

#include <windows.h>

#include "app/win32/win32_command_line.h"

struct WindowPlacement {
    DWORD extendedStyle = 0;
    DWORD style = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    HWND parent = nullptr;
    int showCommand = SW_SHOW;
    bool hideCursor = true;
};

WindowPlacement windowPlacementFor(const Win32Launch& launch);
