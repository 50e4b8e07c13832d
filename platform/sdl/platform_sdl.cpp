// The SDL2 backend of the window system: window, GL context, display mode, cursor and events.
#include <SDL2/SDL.h>

#include <cstdlib>
#include <cstring>

#include "platform/platform.h"
#include "platform/sdl/platform_sdl_keys.h"
#include "platform/sdl/platform_sdl_present.h"
#include "platform/sdl/platform_sdl_x11.h"

namespace {

// Depth buffers to ask for, best first; the scene draws without depth testing, so whatever the
// system offers will do.
constexpr int kDepthBitsWanted[] = {32, 24, 16, 0};
constexpr int kColourChannelBits = 8;

bool sdlStarted = false;
SDL_Window* mainWindow = nullptr;
SDL_GLContext glContext = nullptr;
bool displayModeChanged = false;
bool hostedWindow = false; // mainWindow belongs to another program
bool coverWindow = false;  // mainWindow is a Cover, which takes the input once shown

constexpr int kEsMajorVersion = 2;

void requestContextAttributes(int depthBits, PlatformGLFlavour flavour) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, kColourChannelBits);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, kColourChannelBits);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, kColourChannelBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (flavour == PlatformGLFlavour::Es2) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, kEsMajorVersion);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
        return;
    }
    // Fixed-function drawing needs a compatibility context.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

// SDL falls back on these when no screen answers; they draw to nowhere, so the demo must not
// take them for a display unless someone asked for one by name.
bool isStandInDriver(const char* driver) {
    return driver != nullptr &&
           (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

bool standInAskedFor(const char* driver) {
    const char* wanted = std::getenv("SDL_VIDEODRIVER");
    return wanted != nullptr && std::strstr(wanted, driver) != nullptr;
}

Uint32 windowFlags(PlatformWindowStyle style) {
    // High-DPI: the drawable gets the screen's real pixels, and the projection follows it.
    const Uint32 common = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
    switch (style) {
    case PlatformWindowStyle::Windowed:
        return common | SDL_WINDOW_RESIZABLE;
    case PlatformWindowStyle::Desktop:
        // Created at the desktop's size in its corner, the window already covers it where no
        // window manager could put anything over it; there SDL's full-screen request would
        // only wait a tenth of a second for a configure event an unchanged size never brings.
        if (x11DriverWithoutWindowManager()) {
            break;
        }
        return common | SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN_DESKTOP;
    case PlatformWindowStyle::Popup:
    case PlatformWindowStyle::Hosted:
    case PlatformWindowStyle::Cover: // placed by itself, over everything (see createWindow)
        break;
    }
    return common | SDL_WINDOW_BORDERLESS;
}

// The whole screen: every display's bounds together, as the X server's root window spans them.
SDL_Rect allDisplaysBounds() {
    SDL_Rect all{0, 0, 0, 0};
    for (int display = 0; display < SDL_GetNumVideoDisplays(); display++) {
        SDL_Rect bounds{};
        if (SDL_GetDisplayBounds(display, &bounds) == 0) {
            SDL_UnionRect(&all, &bounds, &all);
        }
    }
    return all;
}

SDL_Window* createWindow(const PlatformWindowConfig& config) {
    int x = 0;
    int y = 0;
    int width = config.width;
    int height = config.height;
    if (config.style == PlatformWindowStyle::Windowed) {
        x = SDL_WINDOWPOS_CENTERED;
        y = SDL_WINDOWPOS_CENTERED;
    } else if (config.style == PlatformWindowStyle::Desktop) {
        SDL_DisplayMode desktop{};
        if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
            width = desktop.w;
            height = desktop.h;
        }
    } else if (config.style == PlatformWindowStyle::Cover) {
        const SDL_Rect screen = allDisplaysBounds();
        x = screen.x;
        y = screen.y;
        width = screen.w;
        height = screen.h;
    }
    // A Cover is override-redirect on X11: no window manager places, frames or stacks it, so
    // raised it stays above panels and full-screen windows alike.
    SDL_SetHint(SDL_HINT_X11_FORCE_OVERRIDE_REDIRECT,
                config.style == PlatformWindowStyle::Cover ? "1" : "0");
    return SDL_CreateWindow(config.title, x, y, width, height, windowFlags(config.style));
}

// Another program's window: SDL makes the context from the window's own visual, and the host
// alone decides on the window's size, visibility, cursor and the keyboard.
bool adoptHostWindow(const PlatformWindowConfig& config) {
    const uint64_t window = config.hostWindow != 0 ? config.hostWindow : x11RootWindow();
    if (window == 0) {
        return false;
    }
    x11IgnoreErrors();
    requestContextAttributes(kDepthBitsWanted[0], config.flavour);
    mainWindow = SDL_CreateWindowFrom(reinterpret_cast<void*>(static_cast<uintptr_t>(window)));
    if (mainWindow == nullptr) {
        return false;
    }
    hostedWindow = true;
    x11FollowHostWindow(mainWindow);
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE); // to see the host destroy its window
    glContext = SDL_GL_CreateContext(mainWindow);
    if (glContext == nullptr || SDL_GL_MakeCurrent(mainWindow, glContext) != 0) {
        return false;
    }
    if (config.noVsync) {
        SDL_GL_SetSwapInterval(0);
    }
    presentChoose(mainWindow);
    return true;
}

// Already in that mode, with the window covering the screen and no window manager to put
// anything over it: the full-screen switch would change nothing, yet SDL would wait a tenth of
// a second for a configure event that an unchanged size never brings.
bool alreadyCoversScreenAt(int display, int width, int height) {
    SDL_DisplayMode current{};
    int x = -1;
    int y = -1;
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetWindowPosition(mainWindow, &x, &y);
    SDL_GetWindowSize(mainWindow, &windowWidth, &windowHeight);
    if (SDL_GetCurrentDisplayMode(display, &current) != 0 || current.w != width ||
        current.h != height || x != 0 || y != 0 || windowWidth != width || windowHeight != height) {
        return false;
    }
    return onX11WithoutWindowManager(mainWindow);
}

bool translateWindowEvent(Uint8 windowEvent, PlatformEvent* event) {
    switch (windowEvent) {
    case SDL_WINDOWEVENT_CLOSE:
        event->type = PlatformEventType::Close;
        return true;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        event->type = PlatformEventType::Resize;
        SDL_GL_GetDrawableSize(mainWindow, &event->width, &event->height);
        return true;
    case SDL_WINDOWEVENT_HIDDEN:
    case SDL_WINDOWEVENT_MINIMIZED:
        event->type = PlatformEventType::Hidden;
        return true;
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_EXPOSED:
        event->type = PlatformEventType::Shown;
        return true;
    case SDL_WINDOWEVENT_DISPLAY_CHANGED:
        event->type = PlatformEventType::DisplayChanged;
        return true;
    default:
        return false;
    }
}

bool translateEvent(const SDL_Event& sdlEvent, PlatformEvent* event) {
    switch (sdlEvent.type) {
    case SDL_QUIT:
        event->type = PlatformEventType::Close;
        return true;
    case SDL_WINDOWEVENT:
        return translateWindowEvent(sdlEvent.window.event, event);
    case SDL_SYSWMEVENT:
        if (x11IsDestroyOf(sdlEvent.syswm.msg, mainWindow)) {
            event->type = PlatformEventType::Close;
            return true;
        }
        return false;
    case SDL_MOUSEMOTION:
        event->type = PlatformEventType::PointerMove;
        event->x = sdlEvent.motion.x;
        event->y = sdlEvent.motion.y;
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEWHEEL:
        event->type = PlatformEventType::ButtonDown;
        return true;
    case SDL_KEYDOWN:
        // Keys held with Alt belong to the system, as Alt+F4 does.
        if ((sdlEvent.key.keysym.mod & KMOD_ALT) != 0) {
            return false;
        }
        event->type = PlatformEventType::KeyDown;
        event->keyCode = translateSdlKey(sdlEvent.key.keysym.sym);
        return true;
    default:
        return false;
    }
}

} // namespace

bool platformInit(PlatformVideo video) {
    // The shell's own handlers must see SIGINT and SIGTERM.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
    if (video == PlatformVideo::Offscreen) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    }
    if (video == PlatformVideo::Hosted) {
        SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
        // SDL makes GL contexts for windows it did not create only when told they will draw GL.
        SDL_SetHint(SDL_HINT_VIDEO_FOREIGN_WINDOW_OPENGL, "1");
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        return false;
    }
    sdlStarted = true;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (video != PlatformVideo::Offscreen && isStandInDriver(driver) && !standInAskedFor(driver)) {
        SDL_Quit();
        sdlStarted = false;
        return false;
    }
    if (driver != nullptr && std::strcmp(driver, "x11") == 0) {
        installX11DisplayLossHandler();
    }
    return true;
}

bool platformCreateWindow(const char* title, int width, int height, PlatformGLFlavour flavour) {
    PlatformWindowConfig config;
    config.title = title;
    config.width = width;
    config.height = height;
    config.noVsync = true;
    config.flavour = flavour;
    return platformCreateWindowWith(config);
}

bool platformCreateWindowWith(const PlatformWindowConfig& config) {
    if (config.style == PlatformWindowStyle::Hosted) {
        return adoptHostWindow(config);
    }
    for (int depthBits : kDepthBitsWanted) {
        requestContextAttributes(depthBits, config.flavour);
        mainWindow = createWindow(config);
        if (mainWindow == nullptr) {
            continue;
        }
        glContext = SDL_GL_CreateContext(mainWindow);
        if (glContext != nullptr) {
            break;
        }
        SDL_DestroyWindow(mainWindow);
        mainWindow = nullptr;
    }
    if (glContext == nullptr || SDL_GL_MakeCurrent(mainWindow, glContext) != 0) {
        return false;
    }
    if (config.noVsync) {
        // Drivers that cannot turn sync off just keep it.
        SDL_GL_SetSwapInterval(0);
    }
    coverWindow = config.style == PlatformWindowStyle::Cover;
    if (coverWindow) {
        // The idle tool that started this blanker may have more to do later (a locker, the
        // screen switched off): its timers must keep running.
        SDL_EnableScreenSaver();
    } else {
        SDL_DisableScreenSaver();
    }
    presentChoose(mainWindow);
    return true;
}

void platformGetClientSize(int* width, int* height) {
    *width = 0;
    *height = 0;
    if (mainWindow != nullptr) {
        SDL_GL_GetDrawableSize(mainWindow, width, height);
    }
}

void platformShowWindow() {
    if (mainWindow != nullptr && !hostedWindow) {
        SDL_ShowWindow(mainWindow);
        SDL_RaiseWindow(mainWindow);
    }
    if (coverWindow) {
        // No window manager gives an override-redirect window the focus: it takes the keys and
        // the pointer itself, so the key that ends it reaches nothing underneath.
        x11GrabInput(mainWindow);
    }
}

bool platformEnterDisplayMode(int width, int height) {
    if (mainWindow == nullptr) {
        return false;
    }
    SDL_DisplayMode wanted{};
    wanted.w = width;
    wanted.h = height;
    SDL_DisplayMode closest{};
    const int display = SDL_GetWindowDisplayIndex(mainWindow);
    if (alreadyCoversScreenAt(display, width, height)) {
        return true;
    }
    if (SDL_GetClosestDisplayMode(display, &wanted, &closest) == nullptr) {
        return false;
    }
    if (SDL_SetWindowDisplayMode(mainWindow, &closest) != 0 ||
        SDL_SetWindowFullscreen(mainWindow, SDL_WINDOW_FULLSCREEN) != 0) {
        return false;
    }
    displayModeChanged = true;
    // SDL may settle for another mode without complaint; only the size actually set counts.
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetWindowSize(mainWindow, &windowWidth, &windowHeight);
    if (windowWidth != width || windowHeight != height) {
        return false;
    }
    // Wayland never lets a client switch the screen's mode: SDL scales the window to fill it
    // instead, which is the closest that system offers, so the display itself is not asked.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && std::strcmp(driver, "wayland") == 0) {
        return true;
    }
    SDL_DisplayMode current{};
    return SDL_GetCurrentDisplayMode(display, &current) == 0 && current.w == width &&
           current.h == height;
}

void platformHideCursor() {
    SDL_ShowCursor(SDL_DISABLE);
}

std::string platformExecutableDir() {
    char* base = SDL_GetBasePath(); // with a trailing separator
    if (base == nullptr) {
        return "";
    }
    std::string folder = base;
    SDL_free(base);
    if (!folder.empty() && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

bool platformPollEvent(PlatformEvent* event) {
    SDL_Event sdlEvent;
    while (SDL_PollEvent(&sdlEvent) != 0) {
        *event = PlatformEvent{};
        if (translateEvent(sdlEvent, event)) {
            return true;
        }
    }
    return false;
}

bool platformWaitEvent(PlatformEvent* event, int timeoutMs) {
    const Uint32 start = SDL_GetTicks();
    for (;;) {
        const auto waited = static_cast<int>(SDL_GetTicks() - start);
        SDL_Event sdlEvent;
        if (waited >= timeoutMs || SDL_WaitEventTimeout(&sdlEvent, timeoutMs - waited) == 0) {
            return false;
        }
        *event = PlatformEvent{};
        if (translateEvent(sdlEvent, event)) {
            return true;
        }
    }
}

int platformRefreshRate() {
    SDL_DisplayMode mode{};
    const int display = mainWindow != nullptr ? SDL_GetWindowDisplayIndex(mainWindow) : 0;
    if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0) {
        return 0;
    }
    return mode.refresh_rate;
}

bool platformVsyncActive() {
    return glContext != nullptr && SDL_GL_GetSwapInterval() != 0;
}

void platformSwapBuffers() {
    if (mainWindow != nullptr) {
        SDL_GL_SwapWindow(mainWindow);
    }
}

int platformBackBufferAge() {
    return mainWindow != nullptr ? presentBackBufferAge() : 0;
}

void platformPresentFrame(const PlatformRect* rects, int count) {
    if (mainWindow != nullptr) {
        presentFrame(mainWindow, rects, count);
    }
}

void platformReleaseGLContext() {
    presentForget();
    if (glContext != nullptr) {
        SDL_GL_MakeCurrent(mainWindow, nullptr);
        SDL_GL_DeleteContext(glContext);
        glContext = nullptr;
    }
}

void platformRestoreDisplayMode() {
    if (displayModeChanged && mainWindow != nullptr) {
        SDL_SetWindowFullscreen(mainWindow, 0);
        displayModeChanged = false;
    }
}

void platformShutdown() {
    platformReleaseGLContext();
    platformRestoreDisplayMode();
    if (mainWindow != nullptr) {
        SDL_DestroyWindow(mainWindow);
        mainWindow = nullptr;
    }
    hostedWindow = false;
    coverWindow = false;
    if (sdlStarted) {
        SDL_Quit();
        sdlStarted = false;
    }
}
