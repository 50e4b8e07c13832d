// Outputs and the layer surface on each: their scales, configures, frame callbacks and removal.
#include <algorithm>
#include <climits>

#include "platform/wayland/platform_wayland_state.h"

namespace {

constexpr uint32_t kAllEdges =
    ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
    ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;
// Not moved aside for panels' exclusive zones: the picture fills the whole output.
constexpr int32_t kIgnoreExclusiveZones = -1;
constexpr uint32_t kBufferScaleSinceCompositor = 3;
constexpr uint32_t kOutputReleaseSince = 3;

void onGeometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*,
                const char*, int32_t) {}
void onMode(void*, wl_output*, uint32_t, int32_t, int32_t, int32_t) {}

void onOutputDone(void* data, wl_output* /*wlOutput*/) {
    WaylandOutput* output = static_cast<WaylandOutput*>(data);
    if (output->pendingScale == output->scale) {
        return;
    }
    output->scale = output->pendingScale;
    if (output->configured) {
        waylandOutputFitBuffer(output);
        output->due = true; // the same logical size at another scale needs a sharper frame
    }
}

void onOutputScale(void* data, wl_output* /*wlOutput*/, int32_t factor) {
    static_cast<WaylandOutput*>(data)->pendingScale = std::max(factor, 1);
}

const wl_output_listener kOutputListener = {onGeometry,    onMode,  onOutputDone,
                                            onOutputScale, nullptr, nullptr};

void onConfigure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width,
                 uint32_t height) {
    WaylandOutput* output = static_cast<WaylandOutput*>(data);
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    const bool resized = static_cast<int>(width) != output->logicalWidth ||
                         static_cast<int>(height) != output->logicalHeight;
    output->logicalWidth = static_cast<int>(width);
    output->logicalHeight = static_cast<int>(height);
    if (!output->configured || resized) {
        output->due = true; // the first frame, or one of the new size, is wanted at once
    }
    output->configured = width > 0 && height > 0;
    waylandOutputFitBuffer(output);
}

void onClosed(void* data, zwlr_layer_surface_v1* /*layer*/) {
    static_cast<WaylandOutput*>(data)->closed = true;
    gWayland.closedSeen = true;
}

const zwlr_layer_surface_v1_listener kLayerListener = {onConfigure, onClosed};

void onPreferredScale(void* data, wp_fractional_scale_v1* /*fractional*/, uint32_t scale120) {
    WaylandOutput* output = static_cast<WaylandOutput*>(data);
    if (output->scale120 == scale120) {
        return;
    }
    output->scale120 = scale120;
    if (output->configured) {
        waylandOutputFitBuffer(output);
        output->due = true;
    }
}

const wp_fractional_scale_v1_listener kFractionalListener = {onPreferredScale};

} // namespace

void waylandOutputAdd(uint32_t globalName, uint32_t version) {
    WaylandOutput* output = new WaylandOutput;
    output->globalName = globalName;
    output->output = static_cast<wl_output*>(
        wl_registry_bind(gWayland.registry, globalName, &wl_output_interface, version));
    wl_output_add_listener(output->output, &kOutputListener, output);
    gWayland.outputs.push_back(output);
    // At start the layer shell may not be bound yet: platformWaylandStart does it then.
    if (gWayland.eglContext != EGL_NO_CONTEXT) {
        waylandOutputCreateSurface(output);
    }
}

void waylandOutputRemove(uint32_t globalName) {
    std::vector<WaylandOutput*>& outputs = gWayland.outputs;
    const auto found = std::find_if(outputs.begin(), outputs.end(), [&](WaylandOutput* output) {
        return output->globalName == globalName;
    });
    if (found != outputs.end()) {
        waylandOutputDestroy(*found);
        outputs.erase(found);
    }
}

void waylandOutputCreateSurface(WaylandOutput* output) {
    PlatformWayland& w = gWayland;
    output->surface = wl_compositor_create_surface(w.compositor);
    // The fractional scale is only of use with a viewport to show the larger buffer through.
    if (w.fractionalManager != nullptr && w.viewporter != nullptr) {
        output->viewport = wp_viewporter_get_viewport(w.viewporter, output->surface);
        output->fractional = wp_fractional_scale_manager_v1_get_fractional_scale(
            w.fractionalManager, output->surface);
        wp_fractional_scale_v1_add_listener(output->fractional, &kFractionalListener, output);
    }
    const bool overlay = w.config.layer == PlatformLayer::Overlay;
    output->layer = zwlr_layer_shell_v1_get_layer_surface(
        w.layerShell, output->surface, output->output,
        overlay ? ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY : ZWLR_LAYER_SHELL_V1_LAYER_BACKGROUND,
        w.config.purpose);
    zwlr_layer_surface_v1_add_listener(output->layer, &kLayerListener, output);
    zwlr_layer_surface_v1_set_anchor(output->layer, kAllEdges);
    zwlr_layer_surface_v1_set_exclusive_zone(output->layer, kIgnoreExclusiveZones);
    zwlr_layer_surface_v1_set_size(output->layer, 0, 0); // the whole output, both ways
    zwlr_layer_surface_v1_set_keyboard_interactivity(
        output->layer, overlay ? ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE
                               : ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
    // The frame covers everything it is given: nothing under it needs drawing.
    wl_region* opaque = wl_compositor_create_region(w.compositor);
    wl_region_add(opaque, 0, 0, INT32_MAX, INT32_MAX);
    wl_surface_set_opaque_region(output->surface, opaque);
    wl_region_destroy(opaque);
    if (!overlay) {
        // A wallpaper takes no clicks: an empty input region passes them to the desktop.
        wl_region* none = wl_compositor_create_region(w.compositor);
        wl_surface_set_input_region(output->surface, none);
        wl_region_destroy(none);
    }
    wl_surface_commit(output->surface); // no buffer yet: asks for the first configure
}

void waylandOutputFitBuffer(WaylandOutput* output) {
    if (output->viewport != nullptr && output->scale120 != 0) {
        // The buffer at the output's own pixels, shown through the viewport at the logical size.
        output->bufferWidth = waylandScaledLength(output->logicalWidth, output->scale120);
        output->bufferHeight = waylandScaledLength(output->logicalHeight, output->scale120);
        wp_viewport_set_destination(output->viewport, output->logicalWidth, output->logicalHeight);
        if (gWayland.compositorVersion >= kBufferScaleSinceCompositor) {
            wl_surface_set_buffer_scale(output->surface, 1); // an integer scale set before goes
        }
        return;
    }
    const int32_t scale =
        gWayland.compositorVersion >= kBufferScaleSinceCompositor ? output->scale : 1;
    output->bufferWidth = output->logicalWidth * scale;
    output->bufferHeight = output->logicalHeight * scale;
    if (output->surface != nullptr && gWayland.compositorVersion >= kBufferScaleSinceCompositor) {
        wl_surface_set_buffer_scale(output->surface, scale);
    }
}

void waylandOutputDestroy(WaylandOutput* output) {
    waylandEglReleaseSurface(output);
    if (output->frame != nullptr) {
        wl_callback_destroy(output->frame);
    }
    if (output->fractional != nullptr) {
        wp_fractional_scale_v1_destroy(output->fractional);
    }
    if (output->viewport != nullptr) {
        wp_viewport_destroy(output->viewport);
    }
    if (output->layer != nullptr) {
        zwlr_layer_surface_v1_destroy(output->layer);
    }
    if (output->surface != nullptr) {
        wl_surface_destroy(output->surface);
    }
    if (wl_output_get_version(output->output) >= kOutputReleaseSince) {
        wl_output_release(output->output);
    } else {
        wl_output_destroy(output->output);
    }
    delete output;
}
