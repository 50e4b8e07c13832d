// The window system below the Linux shell, velmorin-capture, the drawing tests and the benches:
// one window, its GL context, its events. SDL2 implements it (platform/sdl/); the Windows and
// browser shells talk to their systems directly. It depends on nothing of ours.
#pragma once

#include <cstdint>
#include <string>

enum class PlatformVideo {
    Display,   // a real screen: X11 or Wayland
    Offscreen, // no screen at all, for tests and tools that render to read pixels back
    Hosted,    // a real screen, drawing into a screensaver host's window: the host decides
               // when the screen blanks, so the system's screensaver is left alone
};

enum class PlatformGLFlavour {
    Compatibility, // desktop GL with the fixed-function pipeline
    Es2,           // OpenGL ES 2 (or newer, compatible), for the shader renderer
};

enum class PlatformEventType {
    Resize,  // width, height: the new client size in pixels
    KeyDown, // keyCode: Escape is 27 and no other key is; keys held with Alt never arrive
    Close,   // the user or the window manager asked the window to close, or (Hosted) the
             // host destroyed its window
    Hidden,  // unmapped or minimised (Hosted: the host's window unmapped): nobody sees a frame
    Shown,   // visible again
    DisplayChanged, // moved to another display, whose refresh rate may differ
    PointerMove,    // x, y: where the pointer is in the window, from its top-left corner, in
                    // the window system's units (pixels on X11)
    ButtonDown,     // a mouse button pressed or the wheel turned
};

struct PlatformEvent {
    PlatformEventType type = PlatformEventType::Close;
    int width = 0;
    int height = 0;
    int keyCode = 0;
    int x = 0;
    int y = 0;
};

enum class PlatformWindowStyle {
    Popup,    // borderless at the screen's top-left, for the switched display mode
    Windowed, // decorated and resizable, placed by the window manager
    Desktop,  // borderless over the whole screen at its current resolution
    Hosted,   // no window of our own: draw into hostWindow, which another program owns
    Cover,    // borderless over the whole screen and every window on it, taking the keyboard
              // and the pointer once shown: a screensaver started by an idle tool, which
              // leaves the system's own idle timers running
};

struct PlatformWindowConfig {
    const char* title = "";
    int width = 0; // Popup and Windowed; Desktop and Cover take the screen's size
    int height = 0;
    PlatformWindowStyle style = PlatformWindowStyle::Popup;
    // Ask for swap interval 0. Otherwise the driver keeps its own setting, normally one frame
    // per refresh, which lets the processor rest.
    bool noVsync = false;
    // Hosted: the window to draw into; 0 means the screen's root window.
    uint64_t hostWindow = 0;
    PlatformGLFlavour flavour = PlatformGLFlavour::Compatibility;
};

// Connects to the window system. False when it cannot be used at all.
bool platformInit(PlatformVideo video);
// Creates the hidden window and makes a double-buffered RGBA GL context with a depth buffer
// current on this thread. False when either cannot be made.
bool platformCreateWindowWith(const PlatformWindowConfig& config);
// The same for a Popup at (0, 0) with swap interval 0: tools and tests draw as fast as they can.
bool platformCreateWindow(const char* title, int width, int height,
                          PlatformGLFlavour flavour = PlatformGLFlavour::Compatibility);
void platformGetClientSize(int* width, int* height);
void platformShowWindow();
// Switches the display to width by height, full screen. False when the system refuses or
// quietly gives another size.
bool platformEnterDisplayMode(int width, int height);
void platformHideCursor();
// The folder that holds the running program, without a trailing separator; empty if unknown.
std::string platformExecutableDir();
// Next pending event without waiting; false when there is none.
bool platformPollEvent(PlatformEvent* event);
// Next event, waiting up to timeoutMs for one; false when none came.
bool platformWaitEvent(PlatformEvent* event, int timeoutMs);
void platformSwapBuffers();
// The refresh rate of the display the window is on, in Hz; 0 when the system does not say.
int platformRefreshRate();
// True when the driver waits for the display's refresh on every swap, as far as it tells.
bool platformVsyncActive();

// A rectangle of the drawable in pixels, origin at its lower left as GL's scissor takes it.
struct PlatformRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
// How many frames old the back buffer's contents are when the next frame is drawn: 1 the
// previous frame's, 2 the one before; 0 unknown or undefined, so everything must be drawn.
int platformBackBufferAge();
// Shows the frame. The count rectangles bound everything that differs from the frame shown
// before; count 0 is the whole drawable. A backend that cannot show a part shows the whole.
void platformPresentFrame(const PlatformRect* rects, int count);
// Modal box, caption "Error", one OK button, no parent. Returns when the user confirms it, or
// early, with the box taken down, as soon as abandon() (polled while waiting) says so.
void platformShowErrorBox(const char* text, bool (*abandon)());
// Each releases its part at most once and is harmless when the part never existed.
void platformReleaseGLContext();
void platformRestoreDisplayMode();
void platformShutdown();
