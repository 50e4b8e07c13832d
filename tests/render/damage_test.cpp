// The damage rectangles, no GL: the bounds of spheres and sprays against values worked out by
// hand (tangents to the sphere through the eye, each point's pixel, a 1/32-pixel slack), and
// what a back buffer of each age needs drawn again.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "render/damage.h"

namespace {

using Rect = std::array<int, 4>; // x, y, width, height

// 800 by 600 with the 800 by 600 frame's frustum: +-1 by +-0.75 at the near plane 1.
const DamageView kView{-1.0, 1.0, -0.75, 0.75, 1.0, 800, 600};

std::vector<Rect> rectsOf(const DamageList& list) {
    std::vector<Rect> rects;
    for (int i = 0; i < list.count; i++) {
        const DamageRect& r = list.rects[i];
        rects.push_back({r.x, r.y, r.width, r.height});
    }
    std::sort(rects.begin(), rects.end());
    return rects;
}

struct BoundCase {
    const char* what;
    std::vector<std::array<double, 4>> spheres; // eye x, y, z, radius
    std::vector<double> spray;                  // eye x, y, z of each point
    bool whole;
    std::vector<Rect> expected; // sorted
    double pointSize = 1.0;     // the spray's, in pixels
};

TEST(DamageBounds, SpheresAndSpraysBoundWhatTheyCover) {
    const BoundCase cases[] = {
        // Centred 9 in front, radius 1: tangents at +-asin(1/9), 400 +- 44.72 and 300 +- 44.72.
        {"a sphere before the eye", {{0.0, 0.0, -9.0, 1.0}}, {}, false, {{355, 255, 90, 90}}},
        // Centre on the left edge: its right tangent at atan(-1) + asin(1/sqrt(162)), x 58.44.
        {"a sphere half off screen", {{-9.0, 0.0, -9.0, 1.0}}, {}, false, {{0, 255, 59, 90}}},
        // Centre on the top right corner: the row above mirrored (left tangent at x 741.56), its
        // lower tangent at y 547.72; cut at the drawable's last column and row.
        {"a sphere over the top right corner",
         {{9.0, 6.75, -9.0, 1.0}},
         {},
         false,
         {{741, 547, 59, 53}}},
        {"a sphere wholly off screen", {{-30.0, 0.0, -9.0, 1.0}}, {}, false, {}},
        // Points at (400, 388.9), on a column's edge, and (422.2, 411.1): apart from the sphere.
        {"a spray above its sphere",
         {{0.0, 0.0, -9.0, 1.0}},
         {0.0, 2.0, -9.0, 0.5, 2.5, -9.0},
         false,
         {{355, 255, 90, 90}, {399, 388, 2, 1}, {422, 411, 1, 1}}},
        // Overlapping spheres become their bound: 355.28 to 467.29 across.
        {"overlapping spheres",
         {{0.0, 0.0, -9.0, 1.0}, {0.5, 0.0, -9.0, 1.0}},
         {},
         false,
         {{355, 255, 113, 90}}},
        {"a sphere reaching the near plane", {{0.0, 0.0, -1.5, 1.0}}, {}, true, {}},
        {"a spray point behind the eye", {}, {0.0, 0.0, 2.0}, true, {}},
        // Four pixels across at (422.2, 411.1): its circle's 2 pixels and the pixel of rim
        // beyond, 419.2 to 425.2 and 408.1 to 414.1; a point of half a pixel is one pixel.
        {"a point of 4 pixels", {}, {0.5, 2.5, -9.0}, false, {{419, 408, 7, 7}}, 4.0},
        {"a point of half a pixel", {}, {0.5, 2.5, -9.0}, false, {{422, 411, 1, 1}}, 0.5},
    };
    for (const BoundCase& c : cases) {
        DamageList list;
        for (const auto& s : c.spheres) {
            const double centre[3] = {s[0], s[1], s[2]};
            damageListAddSphere(&list, kView, centre, s[3]);
        }
        damageListAddPoints(&list, kView, c.spray.data(), static_cast<int>(c.spray.size() / 3),
                            c.pointSize);
        EXPECT_EQ(list.whole, c.whole) << c.what;
        if (!c.whole) {
            EXPECT_EQ(rectsOf(list), c.expected) << c.what;
        }
    }
}

// Four frames apart from one another, the latest last.
constexpr Rect kFrameRects[] = {{10, 10, 5, 5}, {100, 10, 5, 5}, {200, 10, 5, 5}, {300, 10, 5, 5}};

DamageList listOf(const Rect& r) {
    DamageList list;
    damageListAdd(&list, {r[0], r[1], r[2], r[3]}, kView.width, kView.height);
    return list;
}

struct AgeCase {
    const char* what;
    int age;
    int wholeFrame; // which of the earlier three frames was drawn whole, -1 none
    bool whole;
    std::vector<Rect> expected; // sorted
};

TEST(DamageHistory, ABufferOfSomeAgeRedrawsTheFramesSinceIt) {
    const Rect& a = kFrameRects[0];
    const Rect& b = kFrameRects[1];
    const Rect& c = kFrameRects[2];
    const Rect& now = kFrameRects[3];
    const AgeCase cases[] = {
        {"age 1: the previous frame's damage and this one's", 1, -1, false, {c, now}},
        {"age 2: two frames back", 2, -1, false, {b, c, now}},
        {"age 3: three frames back", 3, -1, false, {a, b, c, now}},
        {"an unknown age", 0, -1, true, {}},
        {"older than the frames drawn so far", 4, -1, true, {}},
        {"a whole frame since the buffer's", 2, 1, true, {}},
        {"a whole frame before the buffer's", 1, 0, false, {c, now}},
    };
    for (const AgeCase& ac : cases) {
        DamageHistory history;
        for (int f = 0; f < 3; f++) {
            DamageList frame = listOf(kFrameRects[f]);
            frame.whole = f == ac.wholeFrame;
            damageHistoryRedraw(&history, frame, 1);
        }
        const DamageList redraw = damageHistoryRedraw(&history, listOf(now), ac.age);
        EXPECT_EQ(redraw.whole, ac.whole) << ac.what;
        EXPECT_EQ(rectsOf(redraw), ac.expected) << ac.what;
    }
}

} // namespace
