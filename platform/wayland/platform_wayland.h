// Layer surfaces on a Wayland compositor, for the wallpaper and the full-screen saver: one
// surface on every output, each with its own size and EGL window surface, all drawn by one GL
// context. Outputs come and go while it runs. Built when the Wayland libraries are there
// (VELMORIN_WAYLAND); the shells reach it only then, and only with a Wayland connection.
#pragma once

#include <csignal>
#include <cstdint>

#include "platform/platform.h"

enum class PlatformLayer {
    Background, // under every window, taking no input
    Overlay,    // over every window, with the keyboard's exclusive focus and the pointer hidden
};

struct PlatformLayerConfig {
    PlatformLayer layer = PlatformLayer::Background;
    const char* purpose = ""; // the layer's namespace, for the compositor's rules
    PlatformGLFlavour flavour = PlatformGLFlavour::Compatibility;
};

enum class PlatformLayerStart {
    Ready,        // connected, surfaces asked for, the GL context current (with no surface)
    NoCompositor, // no connection could be made
    NoLayerShell, // connected, but the compositor offers no layer surfaces
    NoGraphics,   // no EGL display or context of the flavour asked for
};

enum class PlatformLayerEventType {
    Ended,         // the compositor closed the surfaces (not merely an output's) or went away
    KeyDown,       // Overlay: any key pressed
    ButtonDown,    // Overlay: any pointer button pressed
    PointerEnter,  // Overlay: the pointer came onto a surface, at x, y
    PointerMotion, // Overlay: the pointer moved on the surface it entered, to x, y
};

struct PlatformLayerEvent {
    PlatformLayerEventType type = PlatformLayerEventType::Ended;
    int x = 0; // surface-local, in the compositor's logical pixels
    int y = 0;
};

// One output's surface as the frame loop sees it.
struct PlatformLayerView {
    int width = 0; // the buffer's real pixels: the output's logical size times its scale
    int height = 0;
    bool due = false; // configured, and the compositor asks for a frame (its callback came)
    uint32_t id = 0;  // the output's, for as long as the surface lives: what it drew is its own
};

// True when the environment names a Wayland connection (WAYLAND_DISPLAY or WAYLAND_SOCKET).
bool platformWaylandWanted();
// Connects, binds what the compositor offers (never above its versions; a seat only for the
// overlay) and asks for a layer surface on every output.
PlatformLayerStart platformWaylandStart(const PlatformLayerConfig& config);
// Sends what is queued, then waits up to timeoutNs (negative: no limit) for the compositor and
// handles what it sent. The wait runs with the signal mask `waitMask`, so that a signal blocked
// outside it ends the wait at once and none slips in between the caller's check and the wait.
void platformWaylandWait(int64_t timeoutNs, const sigset_t* waitMask);
// Next event without waiting; false when there is none.
bool platformWaylandPollEvent(PlatformLayerEvent* event);
// The surfaces, indexed 0 to count - 1 until the next wait.
int platformWaylandSurfaceCount();
PlatformLayerView platformWaylandSurface(int index);
// Makes the context current on the surface's EGL window surface, at its current pixel size.
bool platformWaylandMakeCurrent(int index);
// platformBackBufferAge for the surface made current last: from EGL_EXT_buffer_age where the
// driver offers it, else 0 (everything must be drawn).
int platformWaylandBackBufferAge(int index);
// platformPresentFrame for one surface, after asking for its next frame callback: the count
// rectangles go to the compositor as the damage (EGL_KHR_swap_buffers_with_damage or its EXT
// twin) where the driver offers it; otherwise, or with count 0, the whole buffer is shown.
void platformWaylandPresentFrame(int index, const PlatformRect* rects, int count);
// Releases surfaces, EGL and the connection; harmless twice and before anything existed.
void platformWaylandShutdown();
