// The window system as the rest of the shell sees it: one window, its GL context, its events.
// Each backend (SDL2 here) implements this in files of its own; nothing outside app/ includes
// a window-system header.
#pragma once

enum class PlatformVideo {
    Display,   // a real screen: X11 or Wayland
    Offscreen, // no screen at all, for tests and tools that render to read pixels back
};

enum class PlatformGLFlavour {
    Compatibility, // desktop GL with the fixed-function pipeline
    Es2,           // OpenGL ES 2 (or newer, compatible), for the shader renderer
};

enum class PlatformEventType {
    Resize,  // width, height: the new client size in pixels
    KeyDown, // keyCode: Escape is 27 and no other key is; keys held with Alt never arrive
    Close,   // the user or the window manager asked the window to close
};

struct PlatformEvent {
    PlatformEventType type = PlatformEventType::Close;
    int width = 0;
    int height = 0;
    int keyCode = 0;
};

// Connects to the window system. False when it cannot be used at all.
bool platformInit(PlatformVideo video);
// Creates the hidden, borderless window at (0, 0) and makes a double-buffered RGBA GL context
// of the given flavour with a depth buffer current on this thread. False when either cannot be
// made.
bool platformCreateWindow(const char* title, int width, int height,
                          PlatformGLFlavour flavour = PlatformGLFlavour::Compatibility);
void platformGetClientSize(int* width, int* height);
void platformShowWindow();
// Switches the display to width by height, full screen. False when the system refuses or
// quietly gives another size.
bool platformEnterDisplayMode(int width, int height);
void platformHideCursor();
// Next pending event without waiting; false when there is none.
bool platformPollEvent(PlatformEvent* event);
void platformSwapBuffers();
// Modal box, caption "Error", one OK button, no parent. Returns when the user confirms it, or
// early, with the box taken down, as soon as abandon() (polled while waiting) says so.
void platformShowErrorBox(const char* text, bool (*abandon)());
// Each releases its part at most once and is harmless when the part never existed.
void platformReleaseGLContext();
void platformRestoreDisplayMode();
void platformShutdown();
