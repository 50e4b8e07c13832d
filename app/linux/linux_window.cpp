// The Linux shell's window: made through the platform layer as the options ask, its events, its
// frames, and its teardown and error box.
#include "app/linux/linux_window.h"

#include "app/background_painter.h"
#include "app/exit_handlers.h"
#include "app/fps_counter.h"
#include "app/saver_pointer.h"
#include "app/shell_scene.h"
#if defined(VELMORIN_WAYLAND)
#include "app/linux/linux_layers.h"
#endif
#include "render/frame.h"
#include "render/renderer.h"
#include "render/text_quads.h"

namespace {

bool quitRequested = false;
// Client size at creation; later resizes do not change it.
int clientWidth = 0;
int clientHeight = 0;
// The drawable's size now, for what is drawn in window pixels.
int drawableWidth = 0;
int drawableHeight = 0;
bool showFps = false;
FpsCounter fpsCounter;
// --saver: any key, click or real pointer move is the user back, and ends it with status 0.
bool endsOnInput = false;
SaverPointer saverPointer;
bool hidden = false;
bool displayChanged = false;
// A quarter of a second between looks at the exit signals while resting.
constexpr int kHiddenWaitMs = 250;

PlatformWindowStyle styleFor(WindowMode mode) {
    switch (mode) {
    case WindowMode::Windowed:
        return PlatformWindowStyle::Windowed;
    case WindowMode::Desktop:
        return PlatformWindowStyle::Desktop;
    case WindowMode::Saver:
    case WindowMode::Wallpaper: // on X11 the desktop's background is the root window
        return PlatformWindowStyle::Hosted;
    case WindowMode::StandaloneSaver:
        return PlatformWindowStyle::Cover;
    case WindowMode::SwitchedFullScreen:
        break;
    }
    return PlatformWindowStyle::Popup;
}

} // namespace

bool windowCreate(const DemoOptions& options) {
    PlatformWindowConfig config;
    config.title = kWindowTitle;
    config.style = styleFor(options.mode);
    config.width = options.mode == WindowMode::Windowed ? options.windowWidth : kScreenWidth;
    config.height = options.mode == WindowMode::Windowed ? options.windowHeight : kScreenHeight;
    config.noVsync = options.noVsync;
    config.hostWindow = options.drawOnRoot ? 0 : options.hostWindow;
    RendererKind renderer = rendererDefaultKind();
    if (options.renderer != nullptr && !rendererKindFromName(options.renderer, &renderer)) {
        return false;
    }
    if (!rendererSelect(renderer)) {
        return false;
    }
    config.flavour =
        renderer == RendererKind::Gles2 ? PlatformGLFlavour::Es2 : PlatformGLFlavour::Compatibility;
    if (!platformCreateWindowWith(config)) {
        return false;
    }
    shellCreateScene(options);
    platformGetClientSize(&clientWidth, &clientHeight);
    drawableWidth = clientWidth;
    drawableHeight = clientHeight;
    showFps = options.showFps;
    endsOnInput = options.mode == WindowMode::StandaloneSaver;
    saverPointer = SaverPointer{};
    // The projection must be in place before the first frame.
    resizeViewport(clientWidth, clientHeight);
    startBackgroundPainter(options, clientWidth, clientHeight);
    return true;
}

void windowHandleEvent(const PlatformEvent& event) {
    switch (event.type) {
    case PlatformEventType::Resize:
        drawableWidth = event.width;
        drawableHeight = event.height;
        resizeViewport(event.width, event.height);
        resizeBackgroundPainter(event.width, event.height);
        break;
    case PlatformEventType::KeyDown:
        if (endsOnInput) {
            teardownGraphics();
            break;
        }
        handleKeyDown(event.keyCode);
        break;
    case PlatformEventType::Close:
        teardownGraphics();
        break;
    case PlatformEventType::PointerMove:
        if (endsOnInput && saverPointerMoveEnds(&saverPointer, event.x, event.y)) {
            teardownGraphics();
        }
        break;
    case PlatformEventType::ButtonDown:
        if (endsOnInput) {
            teardownGraphics();
        }
        break;
    case PlatformEventType::Hidden:
        hidden = true;
        break;
    case PlatformEventType::Shown:
        if (hidden) {
            frameTimingNoteGap(); // however short it was, nobody saw the scene move meanwhile
        }
        hidden = false;
        break;
    case PlatformEventType::DisplayChanged:
        displayChanged = true;
        break;
    }
}

void windowPaint() {
    showPaintedBackground();
    char fpsText[kShellFrameRateTextSize] = "";
    if (showFps) {
        shellFrameRateText(&fpsCounter, fpsText);
        frameAddOverlay(textQuadsBox(fpsText, drawableHeight));
    }
    // Drawn only where it changed when the window can tell what its back buffer holds.
    frameSetBufferAge(platformBackBufferAge());
    renderFrame();
    if (showFps) {
        rendererDrawText(fpsText, drawableWidth, drawableHeight);
    }
    PlatformRect rects[kDamageMaxRects];
    platformPresentFrame(rects, windowDrawnRects(rects));
}

int windowDrawnRects(PlatformRect* rects) {
    const DamageList& drawn = frameDrawn();
    for (int i = 0; i < drawn.count; i++) {
        rects[i] = {drawn.rects[i].x, drawn.rects[i].y, drawn.rects[i].width,
                    drawn.rects[i].height};
    }
    return drawn.whole ? 0 : drawn.count;
}

void teardownGraphics() {
#if defined(VELMORIN_WAYLAND)
    layersTeardown();
#endif
    platformReleaseGLContext();
    platformRestoreDisplayMode();
    platformShutdown();
    quitRequested = true;
}

bool windowQuitRequested() {
    return quitRequested;
}

bool windowServeEvents() {
    if (quitRequested) {
        return false;
    }
    exitOnPendingSignal();
    PlatformEvent event;
    while (!quitRequested && platformPollEvent(&event)) {
        windowHandleEvent(event);
    }
    return !quitRequested;
}

bool windowHidden() {
    return hidden;
}

void windowRestWhileHidden() {
    PlatformEvent event;
    if (platformWaitEvent(&event, kHiddenWaitMs)) {
        windowHandleEvent(event);
    }
}

bool windowTakeDisplayChange() {
    const bool changed = displayChanged;
    displayChanged = false;
    return changed;
}

void showErrorBox(const char* text) {
    platformShowErrorBox(text, exitSignalPending);
    exitOnPendingSignal();
}
