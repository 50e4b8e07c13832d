// What the SDL2 backend needs from Xlib directly, kept apart from SDL's own names.
#pragma once

// Makes a lost X server end the process at once instead of hanging in the exit path.
void installX11DisplayLossHandler();

struct SDL_Window;
// True when the window lives on an X server where no window manager has announced itself (the
// _NET_SUPPORTING_WM_CHECK convention), so nothing else decides where windows go.
bool onX11WithoutWindowManager(SDL_Window* window);
