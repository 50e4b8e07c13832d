// EGL on the Wayland connection: one context for every output, a window surface per output,
// and the frame shown with the next frame callback asked for.
#include <cstring>
#include <vector>

#include "platform/platform_extensions.h"
#include "platform/wayland/platform_wayland_state.h"

namespace {

constexpr EGLint kChannelBits = 8;
// Depth buffers to ask for, best first; the scene draws without depth testing.
constexpr EGLint kDepthBitsWanted[] = {24, 16, 0};
constexpr EGLint kMaxConfigs = 64;
constexpr EGLint kEsVersion = 2;

void onFrameDone(void* data, wl_callback* callback, uint32_t /*time*/) {
    WaylandOutput* output = static_cast<WaylandOutput*>(data);
    wl_callback_destroy(callback);
    output->frame = nullptr;
    output->due = true;
}

const wl_callback_listener kFrameListener = {onFrameDone};

// Whatever the driver offers for showing part of a frame; Mesa's software rasteriser offers
// neither, and whole frames are shown.
void findDamageExtensions(EGLDisplay display) {
    const char* extensions = eglQueryString(display, EGL_EXTENSIONS);
    gWayland.bufferAge = platformExtensionListed(extensions, "EGL_EXT_buffer_age");
    const char* swap = platformExtensionListed(extensions, "EGL_KHR_swap_buffers_with_damage")
                           ? "eglSwapBuffersWithDamageKHR"
                       : platformExtensionListed(extensions, "EGL_EXT_swap_buffers_with_damage")
                           ? "eglSwapBuffersWithDamageEXT"
                           : nullptr;
    gWayland.swapWithDamage =
        swap == nullptr
            ? nullptr
            : reinterpret_cast<PFNEGLSWAPBUFFERSWITHDAMAGEKHRPROC>(eglGetProcAddress(swap));
}

// An opaque configure where there is one: with alpha the compositor would blend the scene's
// clear colour, whose alpha nothing here promises.
bool chooseConfig(EGLDisplay display, EGLint renderable, EGLConfig* chosen) {
    for (const EGLint depthBits : kDepthBitsWanted) {
        const EGLint attributes[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_RENDERABLE_TYPE,
                                     renderable,       EGL_RED_SIZE,   kChannelBits,
                                     EGL_GREEN_SIZE,   kChannelBits,   EGL_BLUE_SIZE,
                                     kChannelBits,     EGL_DEPTH_SIZE, depthBits,
                                     EGL_NONE};
        EGLConfig configs[kMaxConfigs];
        EGLint count = 0;
        if (eglChooseConfig(display, attributes, configs, kMaxConfigs, &count) != EGL_TRUE ||
            count == 0) {
            continue;
        }
        *chosen = configs[0];
        for (EGLint i = 0; i < count; ++i) {
            EGLint alphaBits = 0;
            eglGetConfigAttrib(display, configs[i], EGL_ALPHA_SIZE, &alphaBits);
            if (alphaBits == 0) {
                *chosen = configs[i];
                break;
            }
        }
        return true;
    }
    return false;
}

} // namespace

bool waylandEglStart(PlatformGLFlavour flavour) {
    PlatformWayland& w = gWayland;
    w.eglDisplay = eglGetDisplay(reinterpret_cast<EGLNativeDisplayType>(w.display));
    if (w.eglDisplay == EGL_NO_DISPLAY ||
        eglInitialize(w.eglDisplay, nullptr, nullptr) != EGL_TRUE) {
        w.eglDisplay = EGL_NO_DISPLAY;
        return false;
    }
    findDamageExtensions(w.eglDisplay);
    const bool es2 = flavour == PlatformGLFlavour::Es2;
    if (eglBindAPI(es2 ? EGL_OPENGL_ES_API : EGL_OPENGL_API) != EGL_TRUE ||
        !chooseConfig(w.eglDisplay, es2 ? EGL_OPENGL_ES2_BIT : EGL_OPENGL_BIT, &w.eglConfig)) {
        return false;
    }
    // A desktop context of the default version is a compatibility one, as fixed function needs.
    const EGLint esAttributes[] = {EGL_CONTEXT_CLIENT_VERSION, kEsVersion, EGL_NONE};
    w.eglContext =
        eglCreateContext(w.eglDisplay, w.eglConfig, EGL_NO_CONTEXT, es2 ? esAttributes : nullptr);
    if (w.eglContext == EGL_NO_CONTEXT) {
        return false;
    }
    // Current with no surface (EGL_KHR_surfaceless_context), so that the scene's textures can be
    // made before any output has been configured.
    return eglMakeCurrent(w.eglDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, w.eglContext) == EGL_TRUE;
}

bool waylandEglMakeCurrent(WaylandOutput* output) {
    PlatformWayland& w = gWayland;
    if (output->bufferWidth <= 0 || output->bufferHeight <= 0) {
        return false;
    }
    const bool created = output->window == nullptr;
    if (created) {
        output->window =
            wl_egl_window_create(output->surface, output->bufferWidth, output->bufferHeight);
        output->eglSurface =
            eglCreateWindowSurface(w.eglDisplay, w.eglConfig,
                                   reinterpret_cast<EGLNativeWindowType>(output->window), nullptr);
    } else {
        int width = 0;
        int height = 0;
        wl_egl_window_get_attached_size(output->window, &width, &height);
        if (width != output->bufferWidth || height != output->bufferHeight) {
            wl_egl_window_resize(output->window, output->bufferWidth, output->bufferHeight, 0, 0);
        }
    }
    if (output->eglSurface == EGL_NO_SURFACE ||
        eglMakeCurrent(w.eglDisplay, output->eglSurface, output->eglSurface, w.eglContext) !=
            EGL_TRUE) {
        return false;
    }
    if (created) {
        // With interval 1 Mesa asks for a frame callback of its own and makes the next swap wait
        // for it: a covered output, whose callbacks never come, would then stall every other.
        // Our own frame callbacks pace each surface instead, and the swap never blocks.
        eglSwapInterval(w.eglDisplay, 0);
    }
    return true;
}

int platformWaylandBackBufferAge(int index) {
    const WaylandOutput* output = gWayland.outputs[static_cast<size_t>(index)];
    EGLint age = 0;
    if (!gWayland.bufferAge || eglQuerySurface(gWayland.eglDisplay, output->eglSurface,
                                               EGL_BUFFER_AGE_EXT, &age) != EGL_TRUE) {
        return 0;
    }
    return age;
}

void platformWaylandPresentFrame(int index, const PlatformRect* rects, int count) {
    WaylandOutput* output = gWayland.outputs[static_cast<size_t>(index)];
    if (output->frame != nullptr) {
        wl_callback_destroy(output->frame); // drawn early (a new size): one callback is enough
    }
    // Asked for before the swap, so that it goes with the swap's commit.
    output->frame = wl_surface_frame(output->surface);
    wl_callback_add_listener(output->frame, &kFrameListener, output);
    output->due = false;
    if (count <= 0 || gWayland.swapWithDamage == nullptr) {
        eglSwapBuffers(gWayland.eglDisplay, output->eglSurface);
        return;
    }
    std::vector<EGLint> damage; // x, y, width, height each, from the lower left as GL's
    for (int i = 0; i < count; ++i) {
        damage.insert(damage.end(), {rects[i].x, rects[i].y, rects[i].width, rects[i].height});
    }
    gWayland.swapWithDamage(gWayland.eglDisplay, output->eglSurface, damage.data(), count);
}

void waylandEglReleaseSurface(WaylandOutput* output) {
    PlatformWayland& w = gWayland;
    if (output->eglSurface != EGL_NO_SURFACE) {
        if (eglGetCurrentSurface(EGL_DRAW) == output->eglSurface) {
            eglMakeCurrent(w.eglDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, w.eglContext);
        }
        eglDestroySurface(w.eglDisplay, output->eglSurface);
        output->eglSurface = EGL_NO_SURFACE;
    }
    if (output->window != nullptr) {
        wl_egl_window_destroy(output->window);
        output->window = nullptr;
    }
}

void waylandEglStop() {
    PlatformWayland& w = gWayland;
    if (w.eglDisplay == EGL_NO_DISPLAY) {
        return;
    }
    eglMakeCurrent(w.eglDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (w.eglContext != EGL_NO_CONTEXT) {
        eglDestroyContext(w.eglDisplay, w.eglContext);
    }
    eglTerminate(w.eglDisplay);
    eglReleaseThread();
    w.eglDisplay = EGL_NO_DISPLAY;
    w.eglContext = EGL_NO_CONTEXT;
}
