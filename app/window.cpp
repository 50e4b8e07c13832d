// The demo's one window under the platform interface (the SDL2 shell): creation, events, teardown.
#include "app/window.h"

#include "app/exit_handlers.h"
#include "render/frame.h"
#include "render/sphere.h"
#include "sim/scene.h"

namespace {

bool quitRequested = false;
// Client size at creation; later resizes do not change it.
int clientWidth = 0;
int clientHeight = 0;

} // namespace

bool windowCreate() {
    if (!platformCreateWindow(kWindowTitle, kScreenWidth, kScreenHeight)) {
        return false;
    }
    setupGL();
    installGLAppearance();
    createScene();
    platformGetClientSize(&clientWidth, &clientHeight);
    // The projection must be in place before the first frame.
    resizeViewport(clientWidth, clientHeight);
    return true;
}

void windowHandleEvent(const PlatformEvent& event) {
    switch (event.type) {
    case PlatformEventType::Resize:
        resizeViewport(event.width, event.height);
        break;
    case PlatformEventType::KeyDown:
        handleKeyDown(event.keyCode);
        break;
    case PlatformEventType::Close:
        teardownGraphics();
        break;
    }
}

void windowPaint() {
    renderFrame();
    platformSwapBuffers();
}

void teardownGraphics() {
    platformReleaseGLContext();
    platformRestoreDisplayMode();
    platformShutdown();
    quitRequested = true;
}

bool windowQuitRequested() {
    return quitRequested;
}

void showErrorBox(const char* text) {
    platformShowErrorBox(text, exitSignalPending);
    exitOnPendingSignal();
}
