// Velmorin in the browser: a WebGL canvas, the page's animation frames and its key events, with
// the pictures painted beside the page and put on as they come, the settings its panel changes
// while it runs, and its GL objects made again when the browser gives back a lost context.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstring>
#include <ctime>
#include <string>

#include "app/fps_counter.h"
#include "app/shell.h"
#include "app/web/web_page.h"
#include "app/web/web_painting.h"
#include "app/web/web_settings.h"
#include "common/cli_args.h"
#include "render/background.h"
#include "render/body_looks.h"
#include "render/error_report.h"
#include "render/frame.h"
#include "render/frame_clock.h"
#include "render/picture_folder.h"
#include "render/renderer.h"
#include "render/texture.h"
#include "sim/gravity_list.h"
#include "sim/random.h"
#include "sim/scene.h"
#include "sim/settings.h"
#include "sim/world.h"

namespace {

constexpr const char* kCanvas = "#canvas";
constexpr const char* kDoneTitle = "Velmorin (done)";
constexpr unsigned long long kMaxFixedFrames = 1000000;
constexpr size_t kParamSize = 64;
constexpr size_t kPictureNameSize = 64;
constexpr int kFpsTextSize = 32;
constexpr double kNanosecondsPerMillisecond = 1e6;
// A side of the canvas's backing store at most: beyond it a frame costs far more than it shows.
constexpr int kMaxCanvasSide = 4096;
// In the page's own file system, where the painted pictures land.
constexpr const char* kPaintedFolder = "/painted";
constexpr mode_t kFolderMode = 0755;

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
// Fixed steps wait for every picture before they make the scene, so that their frames are the
// same as any other rendering's; free running starts at once and puts pictures on as they come.
bool sceneReady = false;
int viewWidth = 0;
int viewHeight = 0;
PageSettings settings;
// Kept so that another body count starts the same scene again.
uint32_t sceneSeed = 0;
// By kTextureFiles: the pictures painted so far, to dress a restarted scene in.
bool textureLanded[kTextureFileCount] = {};
FpsCounter fpsCounter;
// Why frames may be paused; the loop runs again once neither holds.
bool tabHidden = false;
bool contextLost = false;

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

void createPageScene() {
    sceneSeed = run.seedGiven ? run.seed : static_cast<uint32_t>(std::time(nullptr));
    setupGLWithSeed(sceneSeed);
    simSettingsApply(settings.sim);
    createScene();
    frameStartLongRun(settings.view, settings.renew, sceneSeed);
}

// Bare spheres for the scene as it stands, dressed in every picture painted so far.
void dressPageScene() {
    bodyLooksCreateBare();
    for (int i = 0; i < kTextureFileCount; i++) {
        if (textureLanded[i]) {
            bodyLooksAttach(kTextureFiles[i]);
        }
    }
}

// Another body count: the scene again from its seed.
void restartPageScene() {
    worldReset();
    simSettingsApply(settings.sim);
    randomSeed(sceneSeed);
    createScene();
    frameStartLongRun(settings.view, settings.renew, sceneSeed);
    dressPageScene();
}

// A new, empty context: only GL objects are made again. The scene, the painted pictures (files
// in the page and the canvas-sized painting) and the settings stay as they were.
void remakeGLObjects() {
    rendererForgetObjects();
    bodyLooksForget();
    if (run.fixedSteps && !sceneReady) {
        return; // nothing made yet: the first frame makes it all
    }
    // The fixed state, the light and the background last put on. The generator it seeds is
    // drawn from only when a scene is created, and that seeds it again. The view and the
    // renewal go on where they were.
    const LongRun kept = frameLongRun();
    setupGLWithSeed(sceneSeed);
    frameResumeLongRun(kept);
    if (run.fixedSteps) {
        bodyLooksCreate();
        resizeViewport(kScreenWidth, kScreenHeight);
        return;
    }
    dressPageScene();
    webPaintingOfferAgain();
    viewWidth = 0; // the next frame sets the projection again
    viewHeight = 0;
}

void showFrameRate() {
    if (!settings.showFps) {
        webPageShowFps(nullptr);
        return;
    }
    char text[kFpsTextSize];
    fpsCounterFormat(fpsCounter, text, kFpsTextSize);
    webPageShowFps(text);
}

void countFrameRate() {
    const auto nowNs = static_cast<int64_t>(emscripten_get_now() * kNanosecondsPerMillisecond);
    if (settings.showFps && fpsCounterTick(&fpsCounter, nowNs)) {
        showFrameRate();
    }
}

// One landed picture a frame at most, so that reading and uploading never stall the page for
// longer than that.
void putOnLandedPicture() {
    char name[kPictureNameSize];
    if (!webPaintingTakeLanded(name, sizeof name)) {
        return;
    }
    const std::string path = picturePath(name);
    if (path == picturePath(kBackgroundFile)) {
        rendererDeleteBackground(backgroundList); // the empty one made before it was painted
        backgroundList = loadBackground(path.c_str());
        return;
    }
    for (int i = 0; i < kTextureFileCount; i++) {
        if (picturePath(kTextureFiles[i]) == path) {
            textureLanded[i] = true;
            bodyLooksAttach(kTextureFiles[i]);
        }
    }
}

void followCanvasSize() {
    int width = 0;
    int height = 0;
    emscripten_get_canvas_element_size(kCanvas, &width, &height);
    if (width != viewWidth || height != viewHeight) {
        viewWidth = width;
        viewHeight = height;
        resizeViewport(width, height);
    }
}

void drawNextFrame() {
    if (run.fixedSteps) {
        if (!sceneReady) {
            if (!webPaintingFinished()) {
                return;
            }
            createPageScene();
            bodyLooksCreate();
            resizeViewport(kScreenWidth, kScreenHeight);
            sceneReady = true;
        }
        stepAndDrawFrame(simSettingsScaleStep(run.dt));
    } else {
        putOnLandedPicture();
        followCanvasSize();
        webPaintingFitBackground(viewWidth, viewHeight);
        renderFrame();
        countFrameRate();
        if (framesDrawn == 0) {
            // Only now: until the first frame is up, the painters would compete with it.
            webPaintingStart(kPaintedFolder);
        }
    }
    framesDrawn++;
    webPageCountFrame(gravityListCount(&bodies));
    if (run.fixedSteps && framesDrawn == run.frames) {
        emscripten_cancel_main_loop();
        webPageSetTitle(kDoneTitle);
    }
}

bool isKey(const EmscriptenKeyboardEvent* event, const char* lower, const char* upper) {
    const bool plain = !event->ctrlKey && !event->altKey && !event->metaKey;
    return plain && (std::strcmp(event->key, lower) == 0 || std::strcmp(event->key, upper) == 0);
}

// Escape stops the demo: a page cannot end itself the way a program does. Any key then starts
// it again. With the settings open, Escape closes them and every other key is theirs.
EM_BOOL onKeyDown(int /*eventType*/, const EmscriptenKeyboardEvent* event, void* /*userData*/) {
    if (stopped) {
        webPageReload();
        return EM_TRUE;
    }
    const bool escape = std::strcmp(event->key, "Escape") == 0;
    if (pageSettingsPanelOpen()) {
        if (escape) {
            pageSettingsSetPanelOpen(false);
        }
        return escape ? EM_TRUE : EM_FALSE;
    }
    if (escape) {
        stopped = true;
        emscripten_cancel_main_loop();
        webPageShowStopped(true);
        return EM_TRUE;
    }
    if (isKey(event, "f", "F")) {
        webPageToggleFullScreen();
        return EM_TRUE;
    }
    if (isKey(event, "s", "S") && !run.fixedSteps) {
        pageSettingsSetPanelOpen(true);
        return EM_TRUE;
    }
    return EM_FALSE;
}

bool loopEnded() {
    return stopped || (run.fixedSteps && framesDrawn == run.frames);
}

// The frame timing is told to leave the pause out, so the scene goes on where it was.
void resumeAfterPause() {
    if (loopEnded() || tabHidden || contextLost) {
        return;
    }
    fpsCounter = FpsCounter{}; // the paused time is no frame rate
    frameTimingNoteGap();
    emscripten_resume_main_loop();
}

// A hidden tab shows nothing, so nothing runs until it is seen again: browsers slow down the
// animation frames of hidden tabs, but not all stop them, nor at once.
EM_BOOL onVisibilityChange(int /*eventType*/, const EmscriptenVisibilityChangeEvent* event,
                           void* /*userData*/) {
    if (loopEnded()) {
        return EM_FALSE;
    }
    tabHidden = event->hidden;
    if (tabHidden) {
        emscripten_pause_main_loop();
    } else {
        resumeAfterPause();
    }
    return EM_FALSE;
}

// The browser took the context back (its GPU process restarted, a driver reset, too many pages
// hold contexts). Refusing the default asks for it back; until then nothing can be drawn.
EM_BOOL onContextLost(int /*eventType*/, const void* /*reserved*/, void* /*userData*/) {
    contextLost = true;
    if (!loopEnded()) {
        emscripten_pause_main_loop();
    }
    return EM_TRUE;
}

// Back, empty. A page that no longer runs shows its last frame again.
EM_BOOL onContextRestored(int /*eventType*/, const void* /*reserved*/, void* /*userData*/) {
    contextLost = false;
    remakeGLObjects();
    if (loopEnded()) {
        drawFrame();
    }
    resumeAfterPause();
    return EM_TRUE;
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

// The setting's choice; the fixed-step address, unless it names one, draws the specified 800x600
// frame, to compare with the native one.
BackgroundMode startingBackground() {
    BackgroundMode mode = BackgroundMode::Fill;
    backgroundModeFromName(settings.background, &mode);
    char named[kParamSize];
    if (run.fixedSteps && !webPageParam("background", named, sizeof named)) {
        mode = BackgroundMode::Fixed;
    }
    return mode;
}

} // namespace

EMSCRIPTEN_KEEPALIVE void webSettingsChange(const char* name, const char* text) {
    PageSettings next = settings;
    if (run.fixedSteps || !pageSettingsTake(name, text, &next)) {
        return; // the fields allow nothing else
    }
    if (std::strcmp(next.background, settings.background) != 0) {
        // The background's pictures and projection are made at start: the page starts again,
        // from the address just rewritten.
        pageSettingsKeep(name, text);
        webPageReload();
        return;
    }
    const bool newCount = next.sim.bodies != settings.sim.bodies;
    const bool newLongRun = next.view != settings.view || next.renew != settings.renew;
    if (next.showFps != settings.showFps) {
        fpsCounter = FpsCounter{}; // from "-- fps" again, not from when it was last shown
    }
    settings = next;
    if (newCount) {
        restartPageScene();
    } else {
        simSettingsRetune(settings.sim.speed, settings.sim.spray);
        if (newLongRun) {
            frameStartLongRun(settings.view, settings.renew, frameSceneSeed());
        }
    }
    showFrameRate();
    pageSettingsKeep(name, text);
}

int main() {
    setErrorReporter(webPageShowError);
    if (!readParams(&run)) {
        reportError("Bad page parameters: use ?seed=S&frames=N&dt=D");
        return 0;
    }
    settings = pageSettingsLoad(run.fixedSteps);
    if (run.fixedSteps) {
        webPageFixCanvas(kScreenWidth, kScreenHeight);
    } else {
        webPageFillWindow(kMaxCanvasSide);
    }
    if (!rendererSelect(RendererKind::Gles2) || !createContext()) {
        reportError("Could not create window");
        return 0;
    }
    frameClockSetSource(readPageClock);
    setPictureFolder(kPaintedFolder);
    mkdir(kPaintedFolder, kFolderMode);
    backgroundSetMode(startingBackground());
    if (run.fixedSteps) {
        webPaintingStart(kPaintedFolder);
    } else {
        webPaintingWriteStandIn(picturePath(kBackgroundFile).c_str());
        createPageScene();
        bodyLooksCreateBare();
        pageSettingsShow(settings);
        showFrameRate();
    }
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE, onKeyDown);
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, onVisibilityChange);
    emscripten_set_webglcontextlost_callback(kCanvas, nullptr, EM_FALSE, onContextLost);
    emscripten_set_webglcontextrestored_callback(kCanvas, nullptr, EM_FALSE, onContextRestored);
    // 0: one frame per animation frame of the page, as fast as the browser shows them.
    emscripten_set_main_loop(drawNextFrame, 0, EM_FALSE);
    return 0;
}
