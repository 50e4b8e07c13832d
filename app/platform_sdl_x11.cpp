// What the SDL2 backend needs from Xlib directly, kept apart from SDL's own names.
#include "app/platform_sdl_x11.h"

#include <SDL2/SDL_syswm.h>
#include <X11/Xatom.h>
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

namespace {

bool windowManagerPresent(Display* x) {
    const Atom check = XInternAtom(x, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) {
        return false; // nobody has ever named the property on this server
    }
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(x, DefaultRootWindow(x), check, 0, 1, False, XA_WINDOW,
                                          &type, &format, &count, &remaining, &data);
    const bool present = status == Success && type == XA_WINDOW && count == 1;
    if (data != nullptr) {
        XFree(data);
    }
    return present;
}

} // namespace

bool onX11WithoutWindowManager(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    return SDL_GetWindowWMInfo(window, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11 &&
           !windowManagerPresent(info.info.x11.display);
}
