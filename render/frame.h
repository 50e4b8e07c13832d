// Fixed GL state, the projection, and one timed, stepped and drawn frame.
#pragma once

#include <cstdint>

#include "render/damage.h"
#include "render/frame_timing.h"
#include "render/scene_damage.h"
#include "sim/long_run.h"

inline constexpr const char* kBackgroundFile = "bitmap/background.bmp";

// The light set-up, called at the start of every frame.
extern uint32_t lightList;
// Draws the background picture with its corner at the raster position.
extern uint32_t backgroundList;

// Fixed GL state, the light list and the background; seeds the generator from the calendar
// time first, since the scene created next draws from it.
void setupGL();
// The same with a chosen seed, for tools and tests that need a reproducible scene.
void setupGLWithSeed(uint32_t seed);
// Viewport and perspective for a new client size. A zero or negative size (a minimised
// window) keeps the previous projection. The fixed background keeps the horizontal extent;
// the other modes keep the vertical one, the same at 800 by 600.
void resizeViewport(int width, int height);
// Times the frame, steps the physics by the resulting dt, and draws.
void renderFrame();

// Outside the fixed demo: for the scene just created from seed, a view that widens to keep it
// in sight and a new scene once it has flown apart, as asked. setupGL puts the fixed view and
// the one scene back. The widening follows the program's own drawable (a shell drawing
// several keeps the 800 by 600 frame's shape for it).
void frameStartLongRun(ViewMode view, RenewMode renew, uint32_t seed);
// The view's scale now (1: as the drawable's size alone makes it) and the seed of the scene
// shown.
double frameViewScale();
// The whole state of the view and the renewal, to carry over a new GL context, which setupGL
// would otherwise reset.
const LongRun& frameLongRun();
void frameResumeLongRun(const LongRun& run);
uint32_t frameSceneSeed();
// The spray points' diameter in pixels for a drawable height pixels high at that view scale:
// with the following view they grow with the drawable against the 600-pixel frame and shrink
// as the view widens, never below one pixel.
float framePointSize(int height, double scale);

// The rest of renderFrame for a given dt: the physics step and the drawing. The frame is drawn
// whole, or, into a buffer of known age, only where it differs from the frame the buffer holds;
// the pixels come out the same either way.
void stepAndDrawFrame(double dt);
// Its two halves, for a shell that shows one step on several drawables: the bodies and their
// sprays moved by dt, then the scene drawn as it stands, as often as there are drawables, each
// with its own damage record selected.
void stepFrame(double dt);
void drawFrame();

// What drawing a frame only where it changed keeps of one drawable: the perspective, the damage
// of the frames before, the next buffer's age, what is drawn over the frame, and what the last
// frame drew.
struct FrameDamage {
    DamageView view;
    DamageHistory history;
    int bufferAge = 0;
    DamageList overlay;
    DamageList drawn;
    SceneBounds bounds;
    uint32_t backgroundChanges = 0;
    bool veiled = false; // the last frame faded between scenes, so drawn whole
};
// The record the calls below and the next frames use; null: the program's one drawable's.
void frameSelectDamage(FrameDamage* record);

// The buffer the next frame is drawn into holds the frame drawn age frames before it (1: the
// previous one); 0, the default again after every frame, means unknown: the frame is drawn
// whole. A resize, a background change and setupGL draw it whole too.
void frameSetBufferAge(int age);
// A rectangle drawn over the next frame once it is drawn (the frame-rate figure), part of that
// frame's damage.
void frameAddOverlay(DamageRect rect);
// What the last frame drew: whole, or its rectangles, which hold all it changed.
const DamageList& frameDrawn();
