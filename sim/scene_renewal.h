// A new scene once the old one has flown apart: when to begin it, from which seed, and the
// fade that takes the old bodies away and brings the new ones in over the background.
#pragma once

#include <cstdint>

#include "sim/scene_view.h"

enum class RenewMode {
    Never, // the scene runs for ever, however far it flies apart
    Auto,  // a new scene, from the next seed, once even the widest view cannot hold this one
};

// Seconds of simulation for which even the widest view must have failed to hold every body
// before the scene is renewed: long enough that a body swinging briefly past the edge comes
// back, short enough that the sky is never left empty.
inline constexpr double kRenewLostSeconds = 4.0;
// Seconds of the frame's own step (speed left out) for each half of the fade: the old scene
// fades into the background, then the new one out of it. 1.5 steps a second: 1.6 s in all.
inline constexpr double kRenewFadeSeconds = 1.2;

enum class RenewalPhase {
    Running,
    Leaving,  // the old scene fading out
    Arriving, // the new scene fading in
};

struct SceneRenewal {
    RenewMode mode = RenewMode::Never;
    uint32_t seed = 0;     // the seed of the scene shown now
    uint32_t scenes = 1;   // scenes begun so far, the first included
    double lostTime = 0.0; // seconds of simulation the widest view has not held every body
    RenewalPhase phase = RenewalPhase::Running;
    double phaseTime = 0.0; // seconds of frame step into the fade's half
};

// The seed of the scene after the one from seed: a fixed mix, so that one first seed always
// gives the same sequence of scenes.
uint32_t sceneNextSeed(uint32_t seed);

// The renewal of a scene just created from seed.
void sceneRenewalStart(SceneRenewal* renewal, RenewMode mode, uint32_t seed);
// Called before each step with the frame's own step and the simulation's (speed applied).
// Counts how long the widest view has not held the bodies, runs the fade, and halfway through
// it replaces the scene with the next seed's, made exactly as the first was (the settings in
// force kept). True when it did so in this call.
bool sceneRenewalStep(SceneRenewal* renewal, ViewFrustum base, double frameStep, double simStep);
// How much the background covers the bodies now: 0 not at all, 1 wholly.
double sceneRenewalVeil(const SceneRenewal& renewal);

// Frees the bodies and builds the scene of seed in their place, as the program's start builds
// its first: generator seeded, bodies to the capacity in force, centre of mass, contacts.
void sceneRebuild(uint32_t seed);
