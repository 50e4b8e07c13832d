// The layer surfaces' frame loop: one scene stepped once a tick and drawn on every output whose
// compositor asks for a frame, at that output's own pixel size.
#include "app/linux/linux_layers.h"

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <map>
#include <vector>

#include "app/background_painter.h"
#include "app/exit_handlers.h"
#include "app/fps_counter.h"
#include "app/frame_pacer.h"
#include "app/linux/linux_window.h"
#include "app/saver_pointer.h"
#include "app/shell_scene.h"
#include "platform/wayland/platform_wayland.h"
#include "render/error_report.h"
#include "render/frame.h"
#include "render/renderer.h"
#include "render/text_quads.h"

namespace {

constexpr int kFpsTextSize = 32;
// The signals that end the program wait, blocked, for the loop's waits, which let them in: so
// one arriving just before a wait still ends it at once.
constexpr int kExitSignals[] = {SIGINT, SIGTERM, SIGHUP};

struct LayerRun {
    sigset_t waitMask{};
    bool saver = false;
    bool showFps = false;
    FpsCounter fps;
    SaverPointer pointer;
    // The outputs' distinct pixel sizes, largest first: each has a background painted for it,
    // shown scaled until it is ready.
    std::vector<PaintSize> paintSizes;
    bool painterStarted = false;
    // Each output's own record of what its buffers hold, by the surface's id.
    std::map<uint32_t, FrameDamage> damage;
};

void blockExitSignals(LayerRun* run) {
    sigset_t blocked;
    sigemptyset(&blocked);
    for (const int number : kExitSignals) {
        sigaddset(&blocked, number);
    }
    // Before any thread of the GL driver or the painter exists, so that they inherit the block
    // and every such signal reaches this thread's waits.
    pthread_sigmask(SIG_BLOCK, &blocked, &run->waitMask);
    for (const int number : kExitSignals) {
        sigdelset(&run->waitMask, number);
    }
}

bool selectRenderer(const DemoOptions& options, PlatformGLFlavour* flavour) {
    RendererKind renderer = rendererDefaultKind();
    if (options.renderer != nullptr && !rendererKindFromName(options.renderer, &renderer)) {
        return false;
    }
    *flavour =
        renderer == RendererKind::Gles2 ? PlatformGLFlavour::Es2 : PlatformGLFlavour::Compatibility;
    return rendererSelect(renderer);
}

// True when the run is to end: the compositor is done with us, or the user stirred the saver.
bool serveEvents(LayerRun* run) {
    PlatformLayerEvent event;
    while (platformWaylandPollEvent(&event)) {
        switch (event.type) {
        case PlatformLayerEventType::Ended:
            return true;
        case PlatformLayerEventType::KeyDown:
        case PlatformLayerEventType::ButtonDown:
            if (run->saver) {
                return true;
            }
            break;
        case PlatformLayerEventType::PointerEnter:
            run->pointer = SaverPointer(); // positions on another surface are not comparable
            saverPointerMoveEnds(&run->pointer, event.x, event.y);
            break;
        case PlatformLayerEventType::PointerMotion:
            if (run->saver && saverPointerMoveEnds(&run->pointer, event.x, event.y)) {
                return true;
            }
            break;
        }
    }
    return false;
}

int firstDueSurface() {
    for (int i = 0; i < platformWaylandSurfaceCount(); ++i) {
        if (platformWaylandSurface(i).due) {
            return i;
        }
    }
    return -1;
}

bool isLargerSize(PaintSize a, PaintSize b) {
    const int64_t areaA = int64_t{a.width} * a.height;
    const int64_t areaB = int64_t{b.width} * b.height;
    return areaA != areaB ? areaA > areaB : a.width > b.width;
}

// A background is painted for every size among the outputs, the largest first; outputs of one
// size share it.
void followOutputSizes(LayerRun* run, const DemoOptions& options) {
    std::vector<PaintSize> sizes;
    for (int i = 0; i < platformWaylandSurfaceCount(); ++i) {
        const PlatformLayerView view = platformWaylandSurface(i);
        const PaintSize size{view.width, view.height};
        const bool known = std::find(sizes.begin(), sizes.end(), size) != sizes.end();
        if (size.width > 0 && size.height > 0 && !known) {
            sizes.push_back(size);
        }
    }
    std::sort(sizes.begin(), sizes.end(), isLargerSize);
    if (sizes.empty() || sizes == run->paintSizes) {
        return;
    }
    run->paintSizes = sizes;
    if (!run->painterStarted) {
        run->painterStarted = true;
        startBackgroundPainter(options, sizes[0].width, sizes[0].height);
    }
    setBackgroundPainterSizes(sizes);
}

// An output that goes takes its record along; one that comes later starts afresh.
void forgetGoneOutputs(LayerRun* run) {
    for (auto kept = run->damage.begin(); kept != run->damage.end();) {
        bool present = false;
        for (int i = 0; i < platformWaylandSurfaceCount(); ++i) {
            present = present || platformWaylandSurface(i).id == kept->first;
        }
        kept = present ? std::next(kept) : run->damage.erase(kept);
    }
}

// One tick: the scene stepped once, then drawn on every surface that asks for a frame, only
// where it changed when the driver tells what each buffer holds.
void drawTick(LayerRun* run, const DemoOptions& options, int first) {
    if (!platformWaylandMakeCurrent(first)) {
        return;
    }
    followOutputSizes(run, options);
    showPaintedBackground();
    stepFrame(frameTimingNextDt());
    char text[kFpsTextSize] = "";
    if (run->showFps) {
        fpsCounterTick(&run->fps, steadyNanoseconds());
        fpsCounterFormat(run->fps, text, kFpsTextSize);
    }
    forgetGoneOutputs(run);
    for (int i = first; i < platformWaylandSurfaceCount(); ++i) {
        const PlatformLayerView view = platformWaylandSurface(i);
        if (!view.due || !platformWaylandMakeCurrent(i)) {
            continue;
        }
        frameSelectDamage(&run->damage[view.id]);
        resizeViewport(view.width, view.height);
        if (run->showFps) {
            frameAddOverlay(textQuadsBox(text, view.height));
        }
        frameSetBufferAge(platformWaylandBackBufferAge(i));
        drawFrame();
        if (run->showFps) {
            rendererDrawText(text, view.width, view.height);
        }
        PlatformRect rects[kDamageMaxRects];
        platformWaylandPresentFrame(i, rects, windowDrawnRects(rects));
    }
    frameSelectDamage(nullptr);
}

void reportStart(PlatformLayerStart start) {
    if (start == PlatformLayerStart::NoLayerShell) {
        std::fprintf(stderr,
                     "%s: this Wayland compositor offers no layer surfaces (wlr-layer-shell), "
                     "which --wallpaper and --saver need\n",
                     kProgramName);
    } else {
        reportError("Could not create window");
    }
}

} // namespace

int layersRun(const DemoOptions& options) {
    LayerRun run;
    run.saver = options.mode == WindowMode::StandaloneSaver;
    run.showFps = options.showFps;
    blockExitSignals(&run);
    PlatformLayerConfig config;
    config.layer = run.saver ? PlatformLayer::Overlay : PlatformLayer::Background;
    config.purpose = run.saver ? "velmorin-saver" : "velmorin-wallpaper";
    if (!selectRenderer(options, &config.flavour)) {
        reportError("Could not create window");
        return 0;
    }
    const PlatformLayerStart start = platformWaylandStart(config);
    if (start == PlatformLayerStart::NoCompositor) {
        platformWaylandShutdown();
        pthread_sigmask(SIG_SETMASK, &run.waitMask, nullptr);
        return -1;
    }
    if (start != PlatformLayerStart::Ready) {
        reportStart(start);
        return start == PlatformLayerStart::NoLayerShell ? 1 : 0;
    }
    shellCreateScene(options);
    FramePacer pacer;
    // No refresh rate is needed for the cap: the compositor's frame callbacks already keep every
    // surface to its output's.
    framePacerInit(&pacer, effectiveMaxFps(options, 0));
    bool booked = false; // the pacer has given the next frame its start, frameAtNs
    int64_t frameAtNs = 0;
    for (;;) {
        exitOnPendingSignal();
        if (serveEvents(&run)) {
            break;
        }
        const int first = firstDueSurface();
        if (first < 0) {
            // Covered or off everywhere: nothing is drawn until a frame callback comes.
            platformWaylandWait(-1, &run.waitMask);
            continue;
        }
        const int64_t now = steadyNanoseconds();
        if (!booked) {
            frameAtNs = now + framePacerDelay(&pacer, now);
            booked = true;
        }
        if (now < frameAtNs) {
            platformWaylandWait(frameAtNs - now, &run.waitMask);
            continue;
        }
        booked = false;
        drawTick(&run, options, first);
        platformWaylandWait(0, &run.waitMask); // sends the frames, takes what came meanwhile
    }
    layersTeardown();
    return 0;
}

void layersTeardown() {
    platformWaylandShutdown();
}
