// The Windows screensaver's own behaviour, in front of the demo's window procedure: full screen
// ends at the user's first stir, the preview ends with its parent; no error box in either.
#pragma once

#include <windows.h>

#include "app/options.h"

// Full screen (/s) or preview (/p, a child of parent); before the window is created.
void saverUseRole(bool preview, HWND parent);
// Handles what is the saver's own and hands every other message to windowProc.
LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The settings (/c): the dialog, owned by owner or else by the foreground window; OK stores
// what it shows in the registry, Cancel stores nothing.
void showSaverSettings(HWND owner);
// The stored settings put in force in options (/s and /p), and written to the debugger's log.
void saverReadSettings(DemoOptions* options);
// The saver's error report: a line on standard error and in the debugger's log, never a box,
// since nobody may be there to dismiss it.
void reportSaverError(const char* text);
