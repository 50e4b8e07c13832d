// The Xlib calls behind the SDL2 platform: display loss, the window-manager check, error
// silencing, the host window's events for saver hosting and a blanker's input grab.
#include "platform/sdl/platform_sdl_x11.h"

#include <SDL2/SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdlib>
#include <cstring>

namespace {

// A host may destroy its window between any two of our requests; what fails because of that
// is of no consequence, since the destruction itself ends the demo.
int ignoreXError(Display* /*display*/, XErrorEvent* /*error*/) {
    return 0;
}

Window x11WindowOf(SDL_Window* window, Display** display) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
        return None;
    }
    *display = info.info.x11.display;
    return info.info.x11.window;
}

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

bool x11DriverWithoutWindowManager() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || std::strcmp(driver, "x11") != 0) {
        return false;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    const bool without = !windowManagerPresent(display);
    XCloseDisplay(display);
    return without;
}

uint64_t x11RootWindow() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return 0;
    }
    const Window root = DefaultRootWindow(display);
    XCloseDisplay(display);
    return root;
}

void x11IgnoreErrors() {
    XSetErrorHandler(ignoreXError);
}

void x11FollowHostWindow(SDL_Window* window) {
    Display* display = nullptr;
    const Window xWindow = x11WindowOf(window, &display);
    if (xWindow == None) {
        return;
    }
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, xWindow, &attributes) != 0) {
        // Each client has its own mask on a window: this adds to ours, not the host's.
        XSelectInput(display, xWindow, attributes.your_event_mask | StructureNotifyMask);
    }
}

bool x11IsDestroyOf(const SDL_SysWMmsg* message, SDL_Window* window) {
    if (message->subsystem != SDL_SYSWM_X11) {
        return false;
    }
    Display* display = nullptr;
    const XEvent& event = message->msg.x11.event;
    return event.type == DestroyNotify &&
           event.xdestroywindow.window == x11WindowOf(window, &display);
}

bool x11GrabInput(SDL_Window* window) {
    Display* display = nullptr;
    const Window xWindow = x11WindowOf(window, &display);
    if (xWindow == None) {
        return false;
    }
    // Owner events: SDL sees them on its own window as if nothing were grabbed.
    const unsigned int pointerEvents = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
    const bool keyboard = XGrabKeyboard(display, xWindow, True, GrabModeAsync, GrabModeAsync,
                                        CurrentTime) == GrabSuccess;
    const bool pointer = XGrabPointer(display, xWindow, True, pointerEvents, GrabModeAsync,
                                      GrabModeAsync, None, None, CurrentTime) == GrabSuccess;
    return keyboard && pointer;
}
