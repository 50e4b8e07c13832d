// What the SDL2 backend needs from Xlib directly, kept apart from SDL's own names.
#pragma once

// Makes a lost X server end the process at once instead of hanging in the exit path.
void installX11DisplayLossHandler();
