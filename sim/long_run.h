// What a long run does that the fixed demo never does, in one record shared by the program and
// the tools: the view that widens to keep the bodies in sight and the scene renewed once they
// have flown apart, stepped together with the bodies in one fixed order.
#pragma once

#include <cstdint>

#include "sim/scene_renewal.h"
#include "sim/scene_view.h"

// "fixed" or "follow"; false for any other text.
bool viewModeFromName(const char* name, ViewMode* mode);
// "never" or "auto"; false for any other text.
bool renewModeFromName(const char* name, RenewMode* mode);

struct LongRun {
    ViewMode viewMode = ViewMode::Fixed;
    SceneView view;
    SceneRenewal renewal;
    ViewFrustum base; // the drawable's own frustum, before widening
};

// For the scene just created from seed, shown through base.
void longRunStart(LongRun* run, ViewMode viewMode, RenewMode renewMode, uint32_t seed,
                  ViewFrustum base);
// A new drawable size: the same widening over another frustum.
void longRunResize(LongRun* run, ViewFrustum base);
// One frame of simulation step (speed applied): longRunRenew, which may put the next seed's
// scene in place of this one, then longRunAdvance. True when this frame began a new scene.
// With the fixed view and no renewal it is exactly the step alone.
bool longRunStep(LongRun* run, double step);
// Its halves, for a tool that shows the new scene as created: the renewal's turn of the frame,
// then the bodies and their sprays moved by step and the view eased after them.
bool longRunRenew(LongRun* run, double step);
void longRunAdvance(LongRun* run, double step);
// The view's scale now: 1 with the fixed view.
double longRunScale(const LongRun& run);
