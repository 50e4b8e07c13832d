// The Win32 backend's side of the exit signals: how a signal reaches the window's thread.
#pragma once

#include <windows.h>

// Posted to the window when a signal asks the process to end; the window procedure then prints
// the notice and exits (exitOnPendingSignal).
inline constexpr UINT kExitSignalMessage = WM_APP + 1;

// The window that a signal wakes; null for none. Set while the window exists.
void exitSignalSetWindow(HWND window);
