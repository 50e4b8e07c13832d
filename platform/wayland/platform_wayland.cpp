// The Wayland connection: the globals it binds, starting and waiting, the frame loop's view of
// the surfaces, and the teardown.
#include <poll.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/wayland/platform_wayland_state.h"

PlatformWayland gWayland;

namespace {

// The newest versions this program knows; each is bound at the lower of this and what the
// compositor offers. wl_compositor 3 brings the buffer scale, wl_output 2 its scale and done
// events and 3 its release, wl_seat 3 the keyboard's and pointer's release and 5 its own.
constexpr uint32_t kCompositorVersion = 4;
constexpr uint32_t kLayerShellVersion = 4;
constexpr uint32_t kViewporterVersion = 1;
constexpr uint32_t kFractionalScaleVersion = 1;
constexpr uint32_t kOutputVersion = 3;
constexpr uint32_t kSeatVersion = 5;
constexpr int64_t kNanosecondsPerSecond = 1000000000;

void onGlobal(void* /*data*/, wl_registry* registry, uint32_t name, const char* interface,
              uint32_t version) {
    PlatformWayland& w = gWayland;
    if (std::strcmp(interface, wl_compositor_interface.name) == 0 && w.compositor == nullptr) {
        w.compositorVersion = waylandBindVersion(version, kCompositorVersion);
        w.compositor = static_cast<wl_compositor*>(
            wl_registry_bind(registry, name, &wl_compositor_interface, w.compositorVersion));
    } else if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0 &&
               w.layerShell == nullptr) {
        w.layerShellVersion = waylandBindVersion(version, kLayerShellVersion);
        w.layerShell = static_cast<zwlr_layer_shell_v1*>(
            wl_registry_bind(registry, name, &zwlr_layer_shell_v1_interface, w.layerShellVersion));
    } else if (std::strcmp(interface, wp_viewporter_interface.name) == 0 &&
               w.viewporter == nullptr) {
        w.viewporter = static_cast<wp_viewporter*>(
            wl_registry_bind(registry, name, &wp_viewporter_interface,
                             waylandBindVersion(version, kViewporterVersion)));
    } else if (std::strcmp(interface, wp_fractional_scale_manager_v1_interface.name) == 0 &&
               w.fractionalManager == nullptr) {
        w.fractionalManager = static_cast<wp_fractional_scale_manager_v1*>(
            wl_registry_bind(registry, name, &wp_fractional_scale_manager_v1_interface,
                             waylandBindVersion(version, kFractionalScaleVersion)));
    } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        waylandOutputAdd(name, waylandBindVersion(version, kOutputVersion));
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 &&
               w.config.layer == PlatformLayer::Overlay) {
        waylandInputBindSeat(name, waylandBindVersion(version, kSeatVersion));
    }
}

void onGlobalRemove(void* /*data*/, wl_registry* /*registry*/, uint32_t name) {
    waylandOutputRemove(name);
}

const wl_registry_listener kRegistryListener = {onGlobal, onGlobalRemove};

void markLost() {
    if (!gWayland.lost) {
        gWayland.lost = true;
        waylandQueueEvent(PlatformLayerEventType::Ended, 0, 0);
    }
}

// A closed surface whose output is still there was dismissed by the compositor (a locker
// ending, the user's rule): that ends the program. One whose output is going is only dropped.
// The output's removal follows its surface's closing in the same burst, so a round trip sees it.
void settleClosedSurfaces() {
    PlatformWayland& w = gWayland;
    if (!w.closedSeen || w.lost) {
        return;
    }
    w.closedSeen = false;
    if (wl_display_roundtrip(w.display) < 0) {
        markLost();
        return;
    }
    for (size_t i = 0; i < w.outputs.size();) {
        WaylandOutput* output = w.outputs[i];
        if (!output->closed) {
            ++i;
            continue;
        }
        waylandQueueEvent(PlatformLayerEventType::Ended, 0, 0);
        waylandOutputDestroy(output);
        w.outputs.erase(w.outputs.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

} // namespace

uint32_t waylandBindVersion(uint32_t offered, uint32_t known) {
    return offered < known ? offered : known;
}

void waylandQueueEvent(PlatformLayerEventType type, int x, int y) {
    PlatformLayerEvent event;
    event.type = type;
    event.x = x;
    event.y = y;
    gWayland.events.push_back(event);
}

bool platformWaylandWanted() {
    const char* display = std::getenv("WAYLAND_DISPLAY");
    const char* socket = std::getenv("WAYLAND_SOCKET");
    return (display != nullptr && display[0] != '\0') || (socket != nullptr && socket[0] != '\0');
}

PlatformLayerStart platformWaylandStart(const PlatformLayerConfig& config) {
    PlatformWayland& w = gWayland;
    w.config = config;
    w.display = wl_display_connect(nullptr); // WAYLAND_SOCKET first, else WAYLAND_DISPLAY
    if (w.display == nullptr) {
        return PlatformLayerStart::NoCompositor;
    }
    w.registry = wl_display_get_registry(w.display);
    wl_registry_add_listener(w.registry, &kRegistryListener, nullptr);
    // The first round trip brings the globals, the second the outputs' and the seat's state.
    if (wl_display_roundtrip(w.display) < 0 || wl_display_roundtrip(w.display) < 0) {
        return PlatformLayerStart::NoCompositor;
    }
    if (w.compositor == nullptr || w.layerShell == nullptr) {
        return PlatformLayerStart::NoLayerShell;
    }
    if (!waylandEglStart(config.flavour)) {
        return PlatformLayerStart::NoGraphics;
    }
    for (WaylandOutput* output : w.outputs) {
        waylandOutputCreateSurface(output);
    }
    wl_display_flush(w.display);
    return PlatformLayerStart::Ready;
}

void platformWaylandWait(int64_t timeoutNs, const sigset_t* waitMask) {
    PlatformWayland& w = gWayland;
    if (w.display == nullptr || w.lost) {
        return;
    }
    while (wl_display_prepare_read(w.display) != 0) {
        if (wl_display_dispatch_pending(w.display) < 0) {
            markLost();
            return;
        }
    }
    if (wl_display_flush(w.display) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(w.display);
        markLost();
        return;
    }
    pollfd watched = {wl_display_get_fd(w.display), POLLIN, 0};
    timespec timeout = {static_cast<time_t>(timeoutNs / kNanosecondsPerSecond),
                        static_cast<long>(timeoutNs % kNanosecondsPerSecond)};
    const int ready = ppoll(&watched, 1, timeoutNs < 0 ? nullptr : &timeout, waitMask);
    if (ready > 0) {
        if (wl_display_read_events(w.display) < 0) {
            markLost();
            return;
        }
    } else {
        wl_display_cancel_read(w.display);
    }
    if (wl_display_dispatch_pending(w.display) < 0) {
        markLost();
        return;
    }
    settleClosedSurfaces();
}

bool platformWaylandPollEvent(PlatformLayerEvent* event) {
    if (gWayland.events.empty()) {
        return false;
    }
    *event = gWayland.events.front();
    gWayland.events.pop_front();
    return true;
}

int platformWaylandSurfaceCount() {
    return static_cast<int>(gWayland.outputs.size());
}

PlatformLayerView platformWaylandSurface(int index) {
    const WaylandOutput* output = gWayland.outputs[static_cast<size_t>(index)];
    PlatformLayerView view;
    view.width = output->bufferWidth;
    view.height = output->bufferHeight;
    view.due = output->due && output->configured && !output->closed && !gWayland.lost;
    view.id = output->globalName;
    return view;
}

bool platformWaylandMakeCurrent(int index) {
    return waylandEglMakeCurrent(gWayland.outputs[static_cast<size_t>(index)]);
}

void platformWaylandShutdown() {
    PlatformWayland& w = gWayland;
    for (WaylandOutput* output : w.outputs) {
        waylandOutputDestroy(output);
    }
    w.outputs.clear();
    waylandEglStop();
    waylandInputRelease();
    if (w.fractionalManager != nullptr) {
        wp_fractional_scale_manager_v1_destroy(w.fractionalManager);
    }
    if (w.viewporter != nullptr) {
        wp_viewporter_destroy(w.viewporter);
    }
    if (w.layerShell != nullptr &&
        w.layerShellVersion >= ZWLR_LAYER_SHELL_V1_DESTROY_SINCE_VERSION) {
        zwlr_layer_shell_v1_destroy(w.layerShell);
    } else if (w.layerShell != nullptr) {
        wl_proxy_destroy(reinterpret_cast<wl_proxy*>(w.layerShell)); // no destroy request before 3
    }
    if (w.compositor != nullptr) {
        wl_compositor_destroy(w.compositor);
    }
    if (w.registry != nullptr) {
        wl_registry_destroy(w.registry);
    }
    if (w.display != nullptr) {
        wl_display_disconnect(w.display);
    }
    w = PlatformWayland();
}
