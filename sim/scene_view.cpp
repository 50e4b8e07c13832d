// The view's frustum, what the bodies need of it, and the eased widening.
#include "sim/scene_view.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "sim/gravity_list.h"
#include "sim/world.h"

namespace {

constexpr double kFixedHalfWidth = 1.0;    // at the near plane: 90 degrees across
constexpr double kFilledHalfHeight = 0.75; // at the near plane: the 800 by 600 frame's height
// Room kept between a body and the view's edge, in world units (the largest sphere's radius is
// 0.5): the view widens before a sphere touches the edge.
constexpr double kViewMargin = 0.6;
// The view narrows only once the bodies need this much less than it shows.
constexpr double kNarrowingHold = 1.08;
// The spring's stiffness, per second of step: it settles within about two seconds of step.
constexpr double kViewSpring = 2.0;
// The fastest the scale's logarithm moves per second of step: 0.39 * 0.025 s is just under 1 %.
constexpr double kViewMaxRate = 0.39;

constexpr double kRightAngle = 1.5707963267948966;

struct EyePoint {
    double x;
    double y;
    double distance; // in front of the eye, down -z
};

EyePoint toEye(Vertex world) {
    return {world.x - centerOfMass.x, world.y - centerOfMass.y,
            kCameraDistance - (world.z - centerOfMass.z)};
}

// The tangent of the widest angle, seen from the eye along one axis, that a sphere of radius
// around offset at distance reaches; infinity when no frustum can hold it.
double reachTangent(double offset, double distance, double radius) {
    const double range = std::hypot(offset, distance);
    if (distance <= 0.0 || range <= radius) {
        return std::numeric_limits<double>::infinity();
    }
    const double angle = std::atan2(std::fabs(offset), distance) + std::asin(radius / range);
    return angle < kRightAngle ? std::tan(angle) : std::numeric_limits<double>::infinity();
}

// True when part of the sphere lies inside the frustum's side planes along one axis whose
// half extent at the near plane is tangent: its centre is less than radius outside them.
bool reachesInside(double offset, double distance, double radius, double tangent) {
    return (std::fabs(offset) - tangent * distance) / std::sqrt(1.0 + tangent * tangent) < radius;
}

} // namespace

ViewFrustum viewFrustumFor(int width, int height, bool keepHorizontal) {
    const double w = static_cast<double>(width);
    const double h = static_cast<double>(height);
    if (keepHorizontal) {
        return {kFixedHalfWidth, kFixedHalfWidth * h / w};
    }
    return {kFilledHalfHeight * w / h, kFilledHalfHeight};
}

double sceneViewNeededScale(ViewFrustum base) {
    double needed = 0.0;
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        const GravityObject* body = gravityListGet(&bodies, i);
        const EyePoint eye = toEye(getPosition(body));
        const double room = getRadius(body) + kViewMargin;
        // A frustum side's tangent is its half extent at the near plane over that plane's depth.
        needed =
            std::max({needed, reachTangent(eye.x, eye.distance, room) * kNearPlane / base.halfWidth,
                      reachTangent(eye.y, eye.distance, room) * kNearPlane / base.halfHeight});
    }
    return needed;
}

void sceneViewFollow(SceneView* view, ViewFrustum base, double step) {
    const double need = std::clamp(sceneViewNeededScale(base), 1.0, kViewMaxScale);
    const double x = std::log(view->scale);
    double goal = std::log(need);
    if (goal < x && goal > x - std::log(kNarrowingHold)) {
        goal = x; // close enough below: hold rather than chase every small retreat
    }
    // The critically damped spring solved exactly over the step, so any step stays stable.
    const double offset = x - goal;
    const double decay = std::exp(-kViewSpring * step);
    const double drift = view->rate + kViewSpring * offset;
    double moved = goal + (offset + drift * step) * decay - x;
    double rate = (view->rate - kViewSpring * drift * step) * decay;
    const double most = kViewMaxRate * step;
    moved = std::clamp(moved, -most, most);
    rate = std::clamp(rate, -kViewMaxRate, kViewMaxRate);
    const double scale = std::clamp(std::exp(x + moved), 1.0, kViewMaxScale);
    if (scale == 1.0 || scale == kViewMaxScale) {
        rate = 0.0; // resting against an end
    }
    view->scale = scale;
    view->rate = rate;
}

uint32_t sceneViewBodiesSeen(ViewFrustum base, double scale) {
    uint32_t seen = 0;
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        const GravityObject* body = gravityListGet(&bodies, i);
        const EyePoint eye = toEye(getPosition(body));
        const double r = getRadius(body);
        if (eye.distance + r > kNearPlane && eye.distance - r < kFarPlane &&
            reachesInside(eye.x, eye.distance, r, base.halfWidth * scale / kNearPlane) &&
            reachesInside(eye.y, eye.distance, r, base.halfHeight * scale / kNearPlane)) {
            seen++;
        }
    }
    return seen;
}
