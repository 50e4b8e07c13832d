// How a frame reaches the window: GLX_MESA_copy_sub_buffer (the back buffer keeps its contents
// and only the changed rectangles are copied), GLX_EXT_buffer_age or EGL_EXT_buffer_age with an
// ordinary swap (EGL_KHR_swap_buffers_with_damage where offered), or whole frames swapped.
// Which one is asked of the driver at run time; nothing is assumed.
#include "platform/sdl/platform_sdl_present.h"
#include "platform/platform_extensions.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/glx.h>
#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

enum class PresentWay {
    WholeSwaps,   // age unknown: every frame drawn and shown whole
    CopyRects,    // glXCopySubBufferMESA from a back buffer that is never swapped
    GlxAgedSwaps, // glXSwapBuffers, with the age from glXQueryDrawable
    EglAgedSwaps, // eglSwapBuffers or its damage variant, with the age from eglQuerySurface
};

// Aged swaps that keep reporting an unknown age after this many frames give way to copying,
// where the driver offers that too: some list the extension without keeping any buffer.
constexpr int kFramesToShowAnAge = 10;
constexpr int kSwapsAfterResize = 3;

using CopySubBuffer = void (*)(Display*, GLXDrawable, int, int, int, int);
using SwapWithDamage = EGLBoolean (*)(EGLDisplay, EGLSurface, const EGLint*, EGLint);

struct PresentState {
    PresentWay way = PresentWay::WholeSwaps;
    Display* glxDisplay = nullptr;
    GLXDrawable glxDrawable = 0;
    CopySubBuffer copySubBuffer = nullptr;
    EGLDisplay eglDisplay = EGL_NO_DISPLAY;
    EGLSurface eglSurface = EGL_NO_SURFACE;
    SwapWithDamage swapWithDamage = nullptr;
    // Copying: the back buffer holds the frame last shown in full (a new one holds nothing).
    bool backKept = false;
    // Copying: the server may have lost pixels of the window, so the next copy is of all of it.
    bool windowSpoilt = true;
    // Copying: the window changed size. Mesa looks at a window's size again only after swaps,
    // so the next few frames are swapped whole, and the one after drawn whole into the new
    // buffer.
    int swapsLeft = 0;
    bool ageSeen = false;
    int framesWithoutAge = 0;
    bool watching = false;
};

PresentState present;

// An expose means the server lost some of the window's pixels, which copying only the changed
// rectangles would never put back; a new size means a new back buffer. Watched as SDL queues
// the events, whoever takes them out of the queue.
int noteWindowEvent(void* /*unused*/, SDL_Event* event) {
    if (event->type != SDL_WINDOWEVENT) {
        return 0;
    }
    switch (event->window.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        present.backKept = false;
        present.windowSpoilt = true;
        present.swapsLeft = kSwapsAfterResize;
        break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SHOWN:
        present.windowSpoilt = true;
        break;
    default:
        break;
    }
    return 0;
}

bool chooseGlx() {
    present.glxDisplay = glXGetCurrentDisplay();
    present.glxDrawable = glXGetCurrentDrawable();
    if (glXGetCurrentContext() == nullptr || present.glxDisplay == nullptr ||
        present.glxDrawable == 0) {
        return false;
    }
    const char* extensions =
        glXQueryExtensionsString(present.glxDisplay, DefaultScreen(present.glxDisplay));
    if (platformExtensionListed(extensions, "GLX_MESA_copy_sub_buffer")) {
        present.copySubBuffer = reinterpret_cast<CopySubBuffer>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXCopySubBufferMESA")));
    }
    if (platformExtensionListed(extensions, "GLX_EXT_buffer_age")) {
        present.way = PresentWay::GlxAgedSwaps;
    } else if (present.copySubBuffer != nullptr) {
        present.way = PresentWay::CopyRects;
    }
    return true;
}

void chooseEgl() {
    present.eglDisplay = eglGetCurrentDisplay();
    present.eglSurface = eglGetCurrentSurface(EGL_DRAW);
    if (eglGetCurrentContext() == EGL_NO_CONTEXT || present.eglDisplay == EGL_NO_DISPLAY ||
        present.eglSurface == EGL_NO_SURFACE) {
        return;
    }
    const char* extensions = eglQueryString(present.eglDisplay, EGL_EXTENSIONS);
    if (!platformExtensionListed(extensions, "EGL_EXT_buffer_age")) {
        return;
    }
    present.way = PresentWay::EglAgedSwaps;
    for (const char* name :
         {"EGL_KHR_swap_buffers_with_damage", "EGL_EXT_swap_buffers_with_damage"}) {
        if (present.swapWithDamage == nullptr && platformExtensionListed(extensions, name)) {
            const bool khr = name[4] == 'K';
            present.swapWithDamage = reinterpret_cast<SwapWithDamage>(eglGetProcAddress(
                khr ? "eglSwapBuffersWithDamageKHR" : "eglSwapBuffersWithDamageEXT"));
        }
    }
}

int queriedAge() {
    if (present.way == PresentWay::GlxAgedSwaps) {
        unsigned int age = 0;
        glXQueryDrawable(present.glxDisplay, present.glxDrawable, GLX_BACK_BUFFER_AGE_EXT, &age);
        return static_cast<int>(age);
    }
    EGLint age = 0;
    if (eglQuerySurface(present.eglDisplay, present.eglSurface, EGL_BUFFER_AGE_EXT, &age) ==
        EGL_FALSE) {
        return 0;
    }
    return age;
}

// The window's drawable size: a count of 0 shows all of it.
void copyWhole(SDL_Window* window) {
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(window, &width, &height);
    present.copySubBuffer(present.glxDisplay, present.glxDrawable, 0, 0, width, height);
}

void swapWithDamage(SDL_Window* window, const PlatformRect* rects, int count) {
    // SDL paces its own swaps on some systems; the damage variant is used only where nothing
    // waits for the display anyway.
    if (present.swapWithDamage == nullptr || count <= 0 || SDL_GL_GetSwapInterval() != 0) {
        SDL_GL_SwapWindow(window);
        return;
    }
    std::vector<EGLint> boxes;
    for (int i = 0; i < count; i++) {
        boxes.insert(boxes.end(), {rects[i].x, rects[i].y, rects[i].width, rects[i].height});
    }
    present.swapWithDamage(present.eglDisplay, present.eglSurface, boxes.data(), count);
}

} // namespace

void presentChoose(SDL_Window* window) {
    presentForget();
    const char* full = std::getenv("VELMORIN_FULL_FRAMES");
    if (window == nullptr || (full != nullptr && *full != '\0')) {
        return;
    }
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE) {
        return;
    }
    if (info.subsystem != SDL_SYSWM_X11 || !chooseGlx()) {
        chooseEgl(); // SDL's Wayland windows, and X11 contexts SDL made through EGL
    }
    SDL_AddEventWatch(noteWindowEvent, nullptr);
    present.watching = true;
}

int presentBackBufferAge() {
    switch (present.way) {
    case PresentWay::WholeSwaps:
        return 0;
    case PresentWay::CopyRects:
        return present.backKept ? 1 : 0;
    case PresentWay::GlxAgedSwaps:
    case PresentWay::EglAgedSwaps:
        break;
    }
    const int age = queriedAge();
    present.ageSeen = present.ageSeen || age > 0;
    if (!present.ageSeen && ++present.framesWithoutAge > kFramesToShowAnAge &&
        present.way == PresentWay::GlxAgedSwaps && present.copySubBuffer != nullptr) {
        present.way = PresentWay::CopyRects; // from the next frame, drawn whole first
    }
    return age;
}

void presentFrame(SDL_Window* window, const PlatformRect* rects, int count) {
    switch (present.way) {
    case PresentWay::WholeSwaps:
    case PresentWay::GlxAgedSwaps:
        SDL_GL_SwapWindow(window);
        return;
    case PresentWay::EglAgedSwaps:
        swapWithDamage(window, rects, count);
        return;
    case PresentWay::CopyRects:
        break;
    }
    if (present.swapsLeft > 0) {
        SDL_GL_SwapWindow(window);
        present.swapsLeft--;
        present.backKept = false;
        return;
    }
    // The back buffer always holds the whole frame, so the window is mended by copying it all.
    if (count <= 0 || present.windowSpoilt) {
        copyWhole(window);
    } else {
        for (int i = 0; i < count; i++) {
            present.copySubBuffer(present.glxDisplay, present.glxDrawable, rects[i].x, rects[i].y,
                                  rects[i].width, rects[i].height);
        }
    }
    present.backKept = true;
    present.windowSpoilt = false;
}

void presentForget() {
    if (present.watching) {
        SDL_DelEventWatch(noteWindowEvent, nullptr);
    }
    present = PresentState{};
}
