// The Wayland backend's one record and what its files call of one another; platform/wayland/
// only. platform_wayland.h is what the rest of the program sees.
#pragma once

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <wayland-client.h>
#include <wayland-egl.h>

#include <cstdint>
#include <deque>
#include <vector>

#include "fractional-scale-v1-client-protocol.h"
#include "platform/wayland/platform_wayland.h"
#include "platform/wayland/platform_wayland_scale.h"
#include "viewporter-client-protocol.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"

// One wl_output and the layer surface that covers it.
struct WaylandOutput {
    uint32_t globalName = 0; // the registry's name, for its removal
    wl_output* output = nullptr;
    int32_t pendingScale = 1; // wl_output.scale, taken on its done event
    int32_t scale = 1;
    wl_surface* surface = nullptr;
    zwlr_layer_surface_v1* layer = nullptr;
    wp_viewport* viewport = nullptr;
    wp_fractional_scale_v1* fractional = nullptr;
    uint32_t scale120 = 0; // the preferred fractional scale; 0 until one is sent
    int logicalWidth = 0;  // from the last configure, in the compositor's logical pixels
    int logicalHeight = 0;
    bool configured = false;
    bool due = false;    // the compositor wants a frame: first configure, then frame callbacks
    bool closed = false; // the compositor closed the layer surface
    wl_callback* frame = nullptr;
    wl_egl_window* window = nullptr;
    EGLSurface eglSurface = EGL_NO_SURFACE;
    int bufferWidth = 0; // the pixel size the EGL window has
    int bufferHeight = 0;
};

struct PlatformWayland {
    PlatformLayerConfig config;
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    uint32_t compositorVersion = 0;
    zwlr_layer_shell_v1* layerShell = nullptr;
    uint32_t layerShellVersion = 0;
    wp_viewporter* viewporter = nullptr;
    wp_fractional_scale_manager_v1* fractionalManager = nullptr;
    wl_seat* seat = nullptr;
    wl_keyboard* keyboard = nullptr;
    wl_pointer* pointer = nullptr;
    std::vector<WaylandOutput*> outputs;
    std::deque<PlatformLayerEvent> events;
    bool closedSeen = false; // a surface was closed: see whether only its output went
    bool lost = false;       // the connection failed; Ended is queued once
    EGLDisplay eglDisplay = EGL_NO_DISPLAY;
    EGLConfig eglConfig = nullptr;
    EGLContext eglContext = EGL_NO_CONTEXT;
    bool bufferAge = false;                                      // EGL_EXT_buffer_age
    PFNEGLSWAPBUFFERSWITHDAMAGEKHRPROC swapWithDamage = nullptr; // null: whole frames only
};

extern PlatformWayland gWayland;

// platform_wayland_outputs.cpp
void waylandOutputAdd(uint32_t globalName, uint32_t version);
void waylandOutputRemove(uint32_t globalName);
// Gives the output its layer surface, once the compositor and the layer shell are bound.
void waylandOutputCreateSurface(WaylandOutput* output);
void waylandOutputDestroy(WaylandOutput* output);
// The buffer's pixel size for the output's logical size and scale, applied to the surface's
// buffer scale or viewport; the EGL window follows before the next frame is drawn.
void waylandOutputFitBuffer(WaylandOutput* output);

// platform_wayland_egl.cpp
bool waylandEglStart(PlatformGLFlavour flavour);
// Makes or resizes the output's EGL window surface to its buffer size and makes it current.
bool waylandEglMakeCurrent(WaylandOutput* output);
void waylandEglReleaseSurface(WaylandOutput* output);
void waylandEglStop();

// platform_wayland_input.cpp
void waylandInputBindSeat(uint32_t globalName, uint32_t version);
void waylandInputRelease();

// platform_wayland.cpp
void waylandQueueEvent(PlatformLayerEventType type, int x, int y);
// The version to bind: what the compositor offers, never more than this program knows.
uint32_t waylandBindVersion(uint32_t offered, uint32_t known);
