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
#include "sim/physics.h"
#include "sim/random.h"
#include "sim/spray.h"
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
constexpr double kFrustumHalfWidth = 1.0;
// Outside the fixed placement the 800 by 600 frame's vertical extent is kept instead, so that
// a wider drawable shows more at the sides rather than larger bodies. At 800 by 600 both give
// the same frustum.
constexpr double kFrustumHalfHeight = 0.75;
constexpr double kNearPlane = 1.0;
constexpr double kFarPlane = 41.0;

// The drawable's size as last given to resizeViewport; 0 before.
int viewWidth = 0;
int viewHeight = 0;

// The one drawable's record, unless a shell that draws several selects its own.
FrameDamage ownDamage;
FrameDamage* damage = &ownDamage;

void keepFrustum(int width, int height, double left, double right, double bottom, double top) {
    if (width != damage->view.width || height != damage->view.height) {
        damageHistoryForget(&damage->history);
    }
    damage->view = DamageView{left, right, bottom, top, kNearPlane, width, height};
    rendererSetProjection(width, height, left, right, bottom, top, kNearPlane, kFarPlane);
}

// This frame's own damage: every body and spray, and what is drawn over it; the whole drawable
// when the background changed.
DamageList frameDamageNow() {
    DamageList now = damage->overlay;
    if (backgroundChanges() != damage->backgroundChanges) {
        damage->backgroundChanges = backgroundChanges();
        now.whole = true;
    }
    sceneDamageAddBodies(&now, damage->view, &damage->bounds);
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

    if (backgroundGetMode() == BackgroundMode::Fixed) {
        rendererPushMatrix();
        rendererDrawBackground(backgroundList, kBackgroundRasterX, kBackgroundRasterY);
        rendererPopMatrix();
    } else {
        backgroundDrawFill(viewWidth, viewHeight);
    }

    // The view stays centred on where the bodies' mass started, not where it is now.
    rendererTranslate(static_cast<float>(-centerOfMass.x), static_cast<float>(-centerOfMass.y),
                      static_cast<float>(-centerOfMass.z));
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
    backgroundList = loadBackground(picturePath(kBackgroundFile).c_str());
}

void resizeViewport(int width, int height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    viewWidth = width;
    viewHeight = height;
    if (backgroundGetMode() != BackgroundMode::Fixed) {
        const double halfWidth =
            kFrustumHalfHeight * static_cast<double>(width) / static_cast<double>(height);
        keepFrustum(width, height, -halfWidth, halfWidth, -kFrustumHalfHeight, kFrustumHalfHeight);
        return;
    }
    const double aspect = static_cast<double>(height) / static_cast<double>(width);
    keepFrustum(width, height, -kFrustumHalfWidth, kFrustumHalfWidth, -aspect, aspect);
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
    physicsStep(dt);
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        updateSpray(gravityListGet(&bodies, i), dt);
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
