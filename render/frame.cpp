// setupGL, the projection and renderFrame: fixed state, light and background once, then each
// frame timed, stepped and drawn through the renderer, whole or only where it changed.
#include "render/frame.h"

#include <ctime>

#include "render/background.h"
#include "render/body_looks.h"
#include "render/picture_folder.h"
#include "render/renderer.h"
#include "render/scene_damage.h"
#include "render/spray_draw.h"
#include "render/texture.h"
#include "sim/random.h"
#include "sim/world.h"

uint32_t lightList = 0;
uint32_t backgroundList = 0;

namespace {

// w = 1: a point light one unit left, up and behind the eye (set while the matrix is identity).
constexpr RendererLight kLight = {{0.1f, 0.1f, 0.1f, 1.0f},   // ambient
                                  {0.9f, 0.9f, 0.9f, 1.0f},   // diffuse
                                  {0.9f, 0.9f, 0.9f, 1.0f},   // specular
                                  {-1.0f, 1.0f, 1.0f, 1.0f}}; // position
// The picture's lower-left corner, in the scene frame.
constexpr float kBackgroundRasterX = -3.0f;
constexpr float kBackgroundRasterY = -3.0f;
// The drawable height whose spray points are one pixel: the 800 by 600 frame's.
constexpr double kPointSizeHeight = 600.0;

// The drawable's size as last given to resizeViewport; 0 before.
int viewWidth = 0;
int viewHeight = 0;

// The one drawable's record, unless a shell that draws several selects its own.
FrameDamage ownDamage;
FrameDamage* damage = &ownDamage;

// The view's widening and the scene's renewal; fixed and never until a shell asks.
LongRun longRun;
bool longRunActive = false;
// A new scene began in the last step: its bodies wear new pictures, and nothing of the frames
// before holds them.
bool sceneRenewed = false;

void keepFrustum(int width, int height, double left, double right, double bottom, double top) {
    if (width != damage->view.width || height != damage->view.height) {
        damageHistoryForget(&damage->history);
    }
    damage->view = DamageView{left, right, bottom, top, kNearPlane, width, height};
    rendererSetProjection(width, height, left, right, bottom, top, kNearPlane, kFarPlane);
}

bool keepsHorizontalExtent() {
    return backgroundGetMode() == BackgroundMode::Fixed;
}

// The drawable's own frustum widened by the view's scale: a wider view of the same scene, the
// eye where it was, so the lighting of every sphere stays as it was.
void applyProjection() {
    const ViewFrustum base = viewFrustumFor(viewWidth, viewHeight, keepsHorizontalExtent());
    const double scale = longRunScale(longRun);
    keepFrustum(viewWidth, viewHeight, -base.halfWidth * scale, base.halfWidth * scale,
                -base.halfHeight * scale, base.halfHeight * scale);
}

// The background again over everything drawn, as opaque as the fade between scenes has come:
// over black outside a picture that does not cover the drawable, so that at the fade's middle
// the frame is the background alone.
void drawVeil(double veil, float rasterScale) {
    if (!backgroundCoversDrawable(viewWidth, viewHeight)) {
        const float black[4] = {0.0f, 0.0f, 0.0f, static_cast<float>(veil)};
        rendererDrawShade(black);
    }
    rendererSetBackgroundOpacity(static_cast<float>(veil));
    if (backgroundGetMode() == BackgroundMode::Fixed) {
        rendererPushMatrix();
        rendererLoadIdentity();
        rendererTranslate(0.0f, 0.0f, static_cast<float>(-kCameraDistance));
        rendererDrawBackground(backgroundList, kBackgroundRasterX * rasterScale,
                               kBackgroundRasterY * rasterScale);
        rendererPopMatrix();
    } else {
        backgroundDrawFill(viewWidth, viewHeight);
    }
    rendererSetBackgroundOpacity(1.0f);
}

// This frame's own damage: every body and spray, and what is drawn over it; the whole drawable
// when the background changed.
DamageList frameDamageNow() {
    DamageList now = damage->overlay;
    if (backgroundChanges() != damage->backgroundChanges) {
        damage->backgroundChanges = backgroundChanges();
        now.whole = true;
    }
    // Every pixel of a fading frame changes, and so does every pixel of the first clear one.
    const bool veiled = sceneRenewalVeil(longRun.renewal) > 0.0;
    if (veiled || damage->veiled || sceneRenewed) {
        now.whole = true;
    }
    damage->veiled = veiled;
    sceneDamageAddBodies(&now, damage->view, &damage->bounds,
                         static_cast<double>(framePointSize(viewHeight, longRunScale(longRun))));
    return now;
}

// Whether a part of the frame needs the sphere or spray of that bound: everything drawn whole.
bool reaches(const DamageRect& bound, const DamageRect* part) {
    return part == nullptr || damageRectsMeet(bound, *part);
}

// Everything but the physics: clear, background, then each body and its spray; within part
// (null: the whole frame) only the bodies that reach into it, the others drawing nothing there.
void drawScene(const DamageRect* part) {
    if (!backgroundCoversDrawable(viewWidth, viewHeight)) {
        rendererClear(); // under a covering picture it would only be painted over
    }
    rendererLoadIdentity();
    rendererPushMatrix();
    rendererUseLight(lightList); // with the identity loaded, the light stays fixed to the eye
    rendererTranslate(0.0f, 0.0f, static_cast<float>(-kCameraDistance));

    // The picture lies at infinity: a widened view must not move it. The corner, scaled with
    // the frustum, projects to the same window pixel.
    const auto rasterScale = static_cast<float>(longRunScale(longRun));
    if (backgroundGetMode() == BackgroundMode::Fixed) {
        rendererPushMatrix();
        rendererDrawBackground(backgroundList, kBackgroundRasterX * rasterScale,
                               kBackgroundRasterY * rasterScale);
        rendererPopMatrix();
    } else {
        backgroundDrawFill(viewWidth, viewHeight);
    }

    // The view stays centred on where the bodies' mass started, not where it is now.
    rendererTranslate(static_cast<float>(-centerOfMass.x), static_cast<float>(-centerOfMass.y),
                      static_cast<float>(-centerOfMass.z));
    rendererSetPointSize(framePointSize(viewHeight, longRunScale(longRun)));
    // No depth test: each body and its spray cover whatever was drawn before them.
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        GravityObject* body = gravityListGet(&bodies, i);
        if (reaches(damage->bounds.sphere[i], part)) {
            rendererPushMatrix();
            const Vertex p = getPosition(body);
            rendererTranslate(static_cast<float>(p.x), static_cast<float>(p.y),
                              static_cast<float>(p.z));
            rendererDrawSphere(bodyLooks[i].sphere);
            rendererPopMatrix();
        }
        if (reaches(damage->bounds.spray[i], part)) {
            drawSprayPoints(body);
        }
    }
    rendererPopMatrix();
    rendererSetPointSize(1.0f);
    const double veil = sceneRenewalVeil(longRun.renewal);
    if (veil > 0.0) {
        drawVeil(veil, rasterScale);
    }
}

} // namespace

void setupGL() {
    setupGLWithSeed(static_cast<uint32_t>(std::time(nullptr)));
}

void setupGLWithSeed(uint32_t seed) {
    randomSeed(seed);
    rendererSetupFixedState();
    // The light is configured and switched on only when the first frame uses it.
    lightList = rendererCreateLight(&kLight);
    ownDamage = FrameDamage{};
    damage = &ownDamage;
    longRun = LongRun{};
    longRunActive = false;
    sceneRenewed = false;
    backgroundList = loadBackground(picturePath(kBackgroundFile).c_str());
}

void resizeViewport(int width, int height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    viewWidth = width;
    viewHeight = height;
    if (damage == &ownDamage) {
        longRunResize(&longRun, viewFrustumFor(width, height, keepsHorizontalExtent()));
    }
    applyProjection();
}

void frameStartLongRun(ViewMode view, RenewMode renew, uint32_t seed) {
    ViewFrustum base = longRun.base;
    if (viewWidth > 0 && viewHeight > 0) {
        base = viewFrustumFor(viewWidth, viewHeight, keepsHorizontalExtent());
    }
    longRunStart(&longRun, view, renew, seed, base);
    longRunActive = view != ViewMode::Fixed || renew != RenewMode::Never;
}

const LongRun& frameLongRun() {
    return longRun;
}

void frameResumeLongRun(const LongRun& run) {
    longRun = run;
    longRunActive = run.viewMode != ViewMode::Fixed || run.renewal.mode != RenewMode::Never;
}

double frameViewScale() {
    return longRunScale(longRun);
}

uint32_t frameSceneSeed() {
    return longRun.renewal.seed;
}

float framePointSize(int height, double scale) {
    if (longRun.viewMode != ViewMode::Follow || height <= 0) {
        return 1.0f;
    }
    const double size = static_cast<double>(height) / kPointSizeHeight / scale;
    return size > 1.0 ? static_cast<float>(size) : 1.0f;
}

void frameSetBufferAge(int age) {
    damage->bufferAge = age;
}

void frameAddOverlay(DamageRect rect) {
    damageListAdd(&damage->overlay, rect, damage->view.width, damage->view.height);
}

const DamageList& frameDrawn() {
    return damage->drawn;
}

void stepFrame(double dt) {
    if (!longRunActive) {
        worldStep(dt);
        return;
    }
    sceneRenewed = longRunStep(&longRun, dt);
    if (sceneRenewed) {
        bodyLooksRenew();
    }
}

void frameSelectDamage(FrameDamage* record) {
    damage = record != nullptr ? record : &ownDamage;
}

void stepAndDrawFrame(double dt) {
    stepFrame(dt);
    drawFrame();
}

void drawFrame() {
    if (longRunActive && viewWidth > 0 && viewHeight > 0) {
        applyProjection(); // the view may have widened or narrowed in the step
    }
    damage->drawn = damageHistoryRedraw(&damage->history, frameDamageNow(), damage->bufferAge);
    damage->bufferAge = 0;
    damage->overlay = DamageList{};
    if (damage->drawn.whole) {
        drawScene(nullptr);
    }
    for (int i = 0; i < damage->drawn.count; i++) {
        rendererScissor(&damage->drawn.rects[i]);
        drawScene(&damage->drawn.rects[i]);
    }
    rendererScissor(nullptr);
    rendererFlush();
}

void renderFrame() {
    stepAndDrawFrame(frameTimingNextDt());
}
