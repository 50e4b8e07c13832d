// Damage rectangles: bounds of projected spheres and points, merging, and the union over the
// frames a back buffer of some age is behind by.
#include "render/damage.h"

#include <algorithm>
#include <cmath>

#include "render/round_point.h"

namespace {

// GL transforms in single precision and snaps to sub-pixels: bounds are widened by this much of
// a pixel so a vertex on a pixel's edge is never given to the wrong side.
constexpr double kEdgeSlack = 1.0 / 32.0;

struct Span {
    double low = 0.0;
    double high = 0.0;
};

long long areaOf(const DamageRect& r) {
    return static_cast<long long>(r.width) * r.height;
}

bool meets(const DamageRect& a, const DamageRect& b) {
    return a.x <= b.x + b.width && b.x <= a.x + a.width && a.y <= b.y + b.height &&
           b.y <= a.y + a.height;
}

DamageRect unite(const DamageRect& a, const DamageRect& b) {
    const int x0 = std::min(a.x, b.x);
    const int y0 = std::min(a.y, b.y);
    const int x1 = std::max(a.x + a.width, b.x + b.width);
    const int y1 = std::max(a.y + a.height, b.y + b.height);
    return {x0, y0, x1 - x0, y1 - y0};
}

void removeAt(DamageList* list, int index) {
    list->rects[index] = list->rects[list->count - 1];
    list->count--;
}

// True when drawing the bound of both costs no more than drawing each: overlapping rectangles
// that would make a much larger bound are kept apart, their overlap drawn twice.
bool worthMerging(const DamageRect& a, const DamageRect& b) {
    return meets(a, b) && areaOf(unite(a, b)) <= areaOf(a) + areaOf(b);
}

// Stores rect (already cut to the drawable) among at most limit, folding in every rectangle
// worth merging with it.
void store(DamageList* list, DamageRect rect, int limit = kDamageMaxRects) {
    for (int i = 0; i < list->count;) {
        if (worthMerging(list->rects[i], rect)) {
            rect = unite(list->rects[i], rect);
            removeAt(list, i);
            i = 0;
        } else {
            i++;
        }
    }
    if (list->count < limit) {
        list->rects[list->count++] = rect;
        return;
    }
    int cheapest = 0;
    long long growth = 0;
    for (int i = 0; i < list->count; i++) {
        const long long g = areaOf(unite(list->rects[i], rect)) - areaOf(list->rects[i]);
        if (i == 0 || g < growth) {
            cheapest = i;
            growth = g;
        }
    }
    rect = unite(list->rects[cheapest], rect);
    removeAt(list, cheapest);
    store(list, rect, limit);
}

DamageRect cutToDrawable(DamageRect rect, int width, int height) {
    const int x0 = std::max(rect.x, 0);
    const int y0 = std::max(rect.y, 0);
    const int x1 = std::min(rect.x + rect.width, width);
    const int y1 = std::min(rect.y + rect.height, height);
    if (x1 <= x0 || y1 <= y0) {
        return {}; // off the drawable
    }
    return {x0, y0, x1 - x0, y1 - y0};
}

// Window pixels whose points or centres can fall within the spans: [floor(low), floor(high)].
DamageRect addSpans(DamageList* list, const DamageView& view, Span x, Span y) {
    const int x0 = static_cast<int>(std::floor(x.low - kEdgeSlack));
    const int y0 = static_cast<int>(std::floor(y.low - kEdgeSlack));
    const int x1 = static_cast<int>(std::floor(x.high + kEdgeSlack)) + 1;
    const int y1 = static_cast<int>(std::floor(y.high + kEdgeSlack)) + 1;
    const DamageRect rect = cutToDrawable({x0, y0, x1 - x0, y1 - y0}, view.width, view.height);
    damageListAdd(list, rect, view.width, view.height);
    return rect;
}

double windowX(const DamageView& view, double atNear) {
    return (atNear - view.left) / (view.right - view.left) * view.width;
}

double windowY(const DamageView& view, double atNear) {
    return (atNear - view.bottom) / (view.top - view.bottom) * view.height;
}

// The sphere's silhouette along one axis at the near plane: the two planes through the eye and
// that axis's perpendicular which touch it, at distance in front of the eye.
Span silhouette(double offset, double distance, double radius, double nearPlane) {
    const double centreAngle = std::atan2(offset, distance);
    const double halfAngle = std::asin(radius / std::hypot(offset, distance));
    return {nearPlane * std::tan(centreAngle - halfAngle),
            nearPlane * std::tan(centreAngle + halfAngle)};
}

} // namespace

void damageListAdd(DamageList* list, DamageRect rect, int width, int height) {
    rect = cutToDrawable(rect, width, height);
    if (!list->whole && rect.width > 0) {
        store(list, rect);
    }
}

bool damageRectsMeet(const DamageRect& a, const DamageRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

DamageRect damageListAddSphere(DamageList* list, const DamageView& view, const double centre[3],
                               double radius) {
    const double distance = -centre[2];
    if (distance - radius <= view.nearPlane) {
        list->whole = true;
        return {};
    }
    const Span x = silhouette(centre[0], distance, radius, view.nearPlane);
    const Span y = silhouette(centre[1], distance, radius, view.nearPlane);
    return addSpans(list, view, {windowX(view, x.low), windowX(view, x.high)},
                    {windowY(view, y.low), windowY(view, y.high)});
}

DamageRect damageListAddPoints(DamageList* list, const DamageView& view, const double* xyz,
                               int count, double pointSize) {
    // A round point is drawn in a square a margin wider than its circle on every side.
    const double reach = pointSize > static_cast<double>(kSquarePointSize)
                             ? 0.5 * pointSize + static_cast<double>(kRoundPointMargin)
                             : 0.0;
    DamageList spray;
    DamageList ignored;
    for (int i = 0; i < count; i++) {
        const double distance = -xyz[3 * i + 2];
        if (distance <= view.nearPlane) {
            list->whole = true;
            return {};
        }
        const double wx = windowX(view, view.nearPlane * xyz[3 * i] / distance);
        const double wy = windowY(view, view.nearPlane * xyz[3 * i + 1] / distance);
        const DamageRect point =
            addSpans(&ignored, view, {wx - reach, wx + reach}, {wy - reach, wy + reach});
        ignored.count = 0;
        if (point.width > 0) {
            store(&spray, point, kDamageRectsPerSpray);
        }
    }
    DamageRect bound = spray.count > 0 ? spray.rects[0] : DamageRect{};
    for (int r = 0; r < spray.count; r++) {
        bound = unite(bound, spray.rects[r]);
        damageListAdd(list, spray.rects[r], view.width, view.height);
    }
    return bound;
}

void damageHistoryForget(DamageHistory* history) {
    history->kept = 0;
}

DamageList damageHistoryRedraw(DamageHistory* history, const DamageList& frame, int age) {
    DamageList redraw = frame;
    // A buffer age frames old holds the frame drawn before the last age - 1: what differs is
    // within the damage of each of them, the one it holds included, and of this frame.
    if (age <= 0 || age > history->kept) {
        redraw.whole = true;
    }
    for (int i = 0; i < age && !redraw.whole; i++) {
        const DamageList& earlier = history->frames[i];
        redraw.whole = earlier.whole;
        for (int r = 0; r < earlier.count && !redraw.whole; r++) {
            store(&redraw, earlier.rects[r]);
        }
    }
    if (redraw.whole) {
        redraw.count = 0;
    }
    std::copy_backward(history->frames, history->frames + kDamageHistoryFrames - 1,
                       history->frames + kDamageHistoryFrames);
    history->frames[0] = frame;
    history->kept = std::min(history->kept + 1, kDamageHistoryFrames);
    return redraw;
}
