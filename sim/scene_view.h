// The view of the scene: the frustum a drawable of some size is shown through, and, outside the
// fixed demo, how far it widens, eased from step to step, to keep every body in sight.
#pragma once

#include <cstdint>

#include "sim/body.h"

enum class ViewMode {
    Fixed,  // the frustum stays as the drawable's size makes it
    Follow, // widens and narrows, eased, to keep every body in view with a margin
};

inline constexpr double kCameraDistance = 9.0; // the scene frame lies this far down -z
inline constexpr double kNearPlane = 1.0;
inline constexpr double kFarPlane = 41.0;
// The widest the view gets, as a factor on the drawable's own: a sphere never shrinks below
// 40 % of its size.
inline constexpr double kViewMaxScale = 2.5;

// The frustum's half extents at the near plane, before any widening.
struct ViewFrustum {
    double halfWidth = 1.0;
    double halfHeight = 0.75;
};

// The frustum of a width by height drawable. The fixed picture keeps the horizontal extent
// (±1 at the near plane) and lets the height follow the window's shape; everything else keeps
// the 800 by 600 frame's vertical extent (±0.75), so that a wider drawable shows more at the
// sides rather than larger bodies. Both agree at 800 by 600.
ViewFrustum viewFrustumFor(int width, int height, bool keepHorizontal);

// The view's widening: scale is its half-height at the bodies' plane over the unwidened one
// (1 to kViewMaxScale), rate how fast the scale's logarithm moves, per second of step.
struct SceneView {
    double scale = 1.0;
    double rate = 0.0;
};

// The smallest scale at which every body of `bodies` lies wholly inside the view with a margin
// around it; infinity when a body is too near the eye (or behind it) for any scale to hold it.
double sceneViewNeededScale(ViewFrustum base);
// Moves the view one step towards the scale the bodies need: a critically damped spring on the
// scale's logarithm, held still while the need lies a little below the scale, so that a body
// grazing the margin does not make it breathe; never faster than about 1 % a frame at 60
// frames a second and speed 1 (step 0.025 s).
void sceneViewFollow(SceneView* view, ViewFrustum base, double step);
// How many bodies show at least a part of themselves through the base frustum widened by scale.
uint32_t sceneViewBodiesSeen(ViewFrustum base, double scale);
