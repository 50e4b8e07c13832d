// What the Windows program is asked to do: the demo's command line, or the screensaver's when it
// runs as velmorin.scr; also where the program lives.
#pragma once

#include <windows.h>

#include <string>

#include "app/options.h"

enum class Win32Role {
    Demo,     // velmorin.exe: the demo in the mode its options ask for
    Saver,    // /s: full screen until the user stirs
    Preview,  // /p: a child of the system's preview window
    Settings, // /c: the settings dialog
    Nothing,  // /a, or a screensaver command line that cannot be read: end at once
};

struct Win32Launch {
    Win32Role role = Win32Role::Demo;
    DemoOptions options;       // Demo: as given; the saver roles: the saver's defaults
    HWND hostWindow = nullptr; // Preview: the parent; Settings: the owner, null for none
};

// Reads argv by the program's own file name. Help, version and bad usage of the demo are answered
// here, before anything is shown; the result is then their exit status, otherwise -1.
int win32ReadCommandLine(int argc, const char* const* argv, Win32Launch* launch);

// True for the roles in which the program is a screensaver: no error box, pictures beside it.
bool win32RoleIsSaver(Win32Role role);

// The folder that holds the running program, without a trailing separator; empty if unknown.
std::string win32ExecutableDir();
