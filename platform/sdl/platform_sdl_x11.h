// What the SDL2 backend needs from Xlib directly, kept apart from SDL's own names.
#pragma once

#include <cstdint>

struct SDL_Window;
struct SDL_SysWMmsg;

// Makes a lost X server end the process at once instead of hanging in the exit path.
void installX11DisplayLossHandler();
// True when the window lives on an X server where no window manager has announced itself (the
// _NET_SUPPORTING_WM_CHECK convention), so nothing else decides where windows go.
bool onX11WithoutWindowManager(SDL_Window* window);
// The same before any window exists: SDL's driver is x11 and its server, reached through a
// connection of its own, has no window manager.
bool x11DriverWithoutWindowManager();

// The root window of the default screen, through a connection of its own; 0 without a display.
uint64_t x11RootWindow();
// Keeps the X errors of a window that may vanish at any moment (or never existed) from ending
// the process: a host's window going away is expected, and its destruction ends the demo.
void x11IgnoreErrors();
// Makes SDL see a window another program owns resize: SDL selects no structure events on a
// window it did not create.
void x11FollowHostWindow(SDL_Window* window);
// True when the raw X event is the destruction of the window.
bool x11IsDestroyOf(const SDL_SysWMmsg* message, SDL_Window* window);
// Sends every key and pointer event to the window, which must be mapped, whatever has the
// focus; false when another client holds a grab. Destroying the window releases it.
bool x11GrabInput(SDL_Window* window);
