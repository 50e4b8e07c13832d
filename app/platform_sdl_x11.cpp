// What the SDL2 backend needs from Xlib directly, kept apart from SDL's own names.
#include "app/platform_sdl_x11.h"

#include <X11/Xlib.h>

#include <cstdlib>

namespace {

// The X server went away: there is no display left to restore and no window left to release,
// and the normal exit path would wait on the dead connection for ever. Leave at once.
int onDisplayLost(Display* /*display*/) {
    std::_Exit(1);
}

} // namespace

void installX11DisplayLossHandler() {
    XSetIOErrorHandler(onDisplayLost);
}
