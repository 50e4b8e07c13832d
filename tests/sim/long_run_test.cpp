// The following view and the renewed scene: how far the view widens for bodies placed by hand,
// how smoothly, and when, from which seed and through which frames a new scene begins (that
// the new scene is exactly its seed's, the trace's case shows).
#include <algorithm>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "sim/long_run.h"
#include "sim/random.h"
#include "sim/scene.h"
#include "sim/settings.h"
#include "sim_test_helpers.h"

namespace {

constexpr double kStep = 0.025; // 60 frames a second at speed 1
const ViewFrustum kFilled800x600 = viewFrustumFor(800, 600, false);

class LongRunTest : public FreshWorld {};

// Bodies of radius 0.4 in the centre's plane (centre of mass at the origin), one of them moved
// by `offset`; the view followed for 20 s of steps, then, where the row wobbles, for 60 s more
// with that body stepping in by `wobble` and out again every half second.
struct ViewRow {
    const char* name;
    Vertex offset;
    double wobble;
    double settledScale; // worked out from the sphere's tangent through the eye
};

// A body at y = 10, 9 in front of the eye, with 0.4 + 0.6 of radius and margin: the tangent of
// its upper edge is (10/9 + 1/sqrt(180)) / (1 - 10 / (9 sqrt(180))) = 1.29270, over the
// frame's 0.75: 1.72361. Grazing the margin, it may widen the view once, never make it breathe.
const ViewRow kViewRows[] = {
    {"huddled", {1.0, -1.0, 0.0}, 0.0, 1.0},
    {"spread", {0.0, 10.0, 0.0}, 0.0, 1.7236068},
    {"one far body", {100.0, 0.0, 0.0}, 0.0, kViewMaxScale},
    {"grazing the margin", {0.0, 10.0, 0.0}, 0.1, 1.7236068},
};

TEST_F(LongRunTest, TheViewSettlesWhereTheBodiesNeedItWithoutJumpingOrBreathing) {
    for (const ViewRow& row : kViewRows) {
        worldReset();
        simSettingsApply(SimSettings{});
        addBody({0.0, 0.0, 0.0}, 0.4, 1.0);
        GravityObject* moved = addBody(row.offset, 0.4, 1.0);
        SceneView view;
        double largestChange = 0.0;
        int reversals = 0;
        double lastMove = 0.0;
        const int frames = row.wobble > 0.0 ? 3200 : 800;
        for (int frame = 0; frame < frames; frame++) {
            if (frame >= 800) {
                moved->position.y = row.offset.y - ((frame / 20) % 2 == 0 ? row.wobble : 0.0);
            }
            const double before = view.scale;
            sceneViewFollow(&view, kFilled800x600, kStep);
            largestChange = std::max(largestChange, std::fabs(view.scale / before - 1.0));
            const double move = view.scale - before;
            reversals += move * lastMove < 0.0 ? 1 : 0;
            lastMove = move != 0.0 ? move : lastMove;
        }
        EXPECT_NEAR(view.scale, row.settledScale, 1e-4) << row.name;
        EXPECT_LE(largestChange, 0.01) << row.name;
        EXPECT_EQ(reversals, 0) << row.name;
    }
}

// A run from seed 5 with one body thrown far out: the frames from the start of the fade.
struct RenewalRun {
    std::vector<double> veils; // per frame, after the step
    int renewedAt = -1;
    uint32_t newSeed = 0;
};

RenewalRun runWithBodyThrownOut(double speed, int frames) {
    worldReset();
    simSettingsApply(SimSettings{kBodyCount, speed, kMaxParticles});
    randomSeed(5);
    createScene();
    LongRun run;
    longRunStart(&run, ViewMode::Follow, RenewMode::Auto, 5, kFilled800x600);
    gravityListGet(&bodies, 0)->position.x = 1000.0; // beyond any view, for as long as it takes
    RenewalRun result;
    for (int frame = 0; frame < frames; frame++) {
        if (longRunStep(&run, simSettingsScaleStep(kStep)) && result.renewedAt < 0) {
            result.renewedAt = frame;
            result.newSeed = run.renewal.seed;
        }
        result.veils.push_back(sceneRenewalVeil(run.renewal));
        if (result.renewedAt < 0) {
            gravityListGet(&bodies, 0)->position.x = 1000.0;
        }
    }
    return result;
}

TEST_F(LongRunTest, ASceneLostForFourSecondsFadesIntoTheNextSeedsWithinTwoSeconds) {
    for (const double speed : {1.0, 4.0, 0.25}) {
        const RenewalRun run = runWithBodyThrownOut(speed, 2000);
        const auto fadeStart =
            std::find_if(run.veils.begin(), run.veils.end(), [](double v) { return v > 0.0; }) -
            run.veils.begin();
        // Lost from the first step: 4 s of simulation is 160 steps at speed 1, 40 at speed 4;
        // the veil shows from the step after (one more where the sum of steps rounds below).
        EXPECT_NEAR(fadeStart, 4.0 / (kStep * speed) + 0.5, 0.5) << speed;
        ASSERT_GT(run.renewedAt, fadeStart) << speed;
        EXPECT_EQ(run.veils[run.renewedAt], 1.0) << speed; // nothing but the background
        const auto fadeEnd =
            std::find(run.veils.begin() + run.renewedAt, run.veils.end(), 0.0) - run.veils.begin();
        EXPECT_LE(fadeEnd - fadeStart, 120) << speed; // two seconds at 60 frames a second
        EXPECT_TRUE(
            std::is_sorted(run.veils.begin() + fadeStart, run.veils.begin() + run.renewedAt + 1))
            << speed;
        EXPECT_EQ(run.newSeed, sceneNextSeed(5)) << speed;
    }
}

} // namespace
