// Velmorin in the browser: a WebGL canvas, the page's animation frames and its key events.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cstdint>
#include <cstring>

#include "app/shell.h"
#include "app/web/web_page.h"
#include "common/cli_args.h"
#include "render/background.h"
#include "render/error_report.h"
#include "render/frame.h"
#include "render/frame_clock.h"
#include "render/renderer.h"
#include "render/sphere.h"
#include "sim/scene.h"

namespace {

constexpr const char* kCanvas = "#canvas";
constexpr const char* kDoneTitle = "Velmorin (done)";
constexpr unsigned long long kMaxFixedFrames = 1000000;
constexpr size_t kParamSize = 64;

// ?seed=S&frames=N&dt=D: exactly N frames of step D, then the page stops and says so.
struct PageRun {
    bool seedGiven = false;
    uint32_t seed = 0;
    bool fixedSteps = false;
    unsigned long long frames = 0;
    double dt = 0.0;
};

PageRun run;
unsigned long long framesDrawn = 0;
bool stopped = false;

bool readParams(PageRun* page) {
    char text[kParamSize];
    if (webPageParam("seed", text, sizeof text)) {
        if (!parseSeedArg(text, &page->seed)) {
            return false;
        }
        page->seedGiven = true;
    }
    char framesText[kParamSize];
    char dtText[kParamSize];
    const bool haveFrames = webPageParam("frames", framesText, sizeof framesText);
    const bool haveDt = webPageParam("dt", dtText, sizeof dtText);
    if (!haveFrames && !haveDt) {
        return true;
    }
    page->fixedSteps = true;
    return haveFrames && haveDt && parseUnsignedArg(framesText, kMaxFixedFrames, &page->frames) &&
           page->frames > 0 && parseFiniteArg(dtText, &page->dt) && page->dt >= 0.0;
}

// The page's clock in milliseconds, counted from 1 since a reading of 0 means "no frame yet".
uint32_t readPageClock() {
    static const double origin = emscripten_get_now();
    return static_cast<uint32_t>(emscripten_get_now() - origin) + 1u;
}

void drawNextFrame() {
    if (run.fixedSteps) {
        stepAndDrawFrame(run.dt);
    } else {
        renderFrame();
    }
    framesDrawn++;
    webPageCountFrame();
    if (run.fixedSteps && framesDrawn == run.frames) {
        emscripten_cancel_main_loop();
        webPageSetTitle(kDoneTitle);
    }
}

// Escape stops the demo: a page cannot end itself the way a program does. Any key then starts
// it again.
EM_BOOL onKeyDown(int /*eventType*/, const EmscriptenKeyboardEvent* event, void* /*userData*/) {
    if (stopped) {
        webPageReload();
        return EM_TRUE;
    }
    if (std::strcmp(event->key, "Escape") == 0) {
        stopped = true;
        emscripten_cancel_main_loop();
        webPageShowStopped(true);
        return EM_TRUE;
    }
    return EM_FALSE;
}

bool createContext() {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = EM_FALSE; // an opaque canvas, black where nothing is drawn
    attributes.depth = EM_TRUE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE; // the same pixels as the desktop renderers
    attributes.majorVersion = 1;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
        emscripten_webgl_create_context(kCanvas, &attributes);
    if (context <= 0) {
        return false;
    }
    emscripten_webgl_make_context_current(context);
    return true;
}

} // namespace

int main() {
    setErrorReporter(webPageShowError);
    if (!readParams(&run)) {
        reportError("Bad page parameters: use ?seed=S&frames=N&dt=D");
        return 0;
    }
    emscripten_set_canvas_element_size(kCanvas, kScreenWidth, kScreenHeight);
    if (!rendererSelect(RendererKind::Gles2) || !createContext()) {
        reportError("Could not create window");
        return 0;
    }
    frameClockSetSource(readPageClock);
    backgroundSetMode(BackgroundMode::Fill); // a page has no display mode to switch to
    if (run.seedGiven) {
        setupGLWithSeed(run.seed);
    } else {
        setupGL();
    }
    installGLAppearance();
    createScene();
    resizeViewport(kScreenWidth, kScreenHeight);
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE, onKeyDown);
    // 0: one frame per animation frame of the page, as fast as the browser shows them.
    emscripten_set_main_loop(drawNextFrame, 0, EM_FALSE);
    return 0;
}
