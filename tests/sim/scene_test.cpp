// Scene creation: eight draws per body in order, the picture index, centre of mass, clean flags.
#include <gtest/gtest.h>

#include "sim/random.h"
#include "sim/scene.h"
#include "sim/settings.h"
#include "sim_test_helpers.h"

namespace {

// What a hand run of the generator from seed 42 predicts for the five bodies: x, y, radius,
// mass, sprayColor R, G, B and the texture index.
struct ExpectedBody {
    double x, y, radius, mass;
    float red, green, blue;
    int textureIndex;
};
const ExpectedBody kSeed42[] = {
    {2.3415326395458846, 4.13266396069216, 0.3303537095248268, 3.020342324273747,
     0.5378581881523132f, 0.6471754908561707f, 0.2068239450454712f, 4},
    {-3.1817072054200874, 0.9553819391460916, 0.2445234534745323, 1.2248422749275927,
     0.8572954535484314f, 0.07473982870578766f, 0.6061586141586304f, 2},
    {-0.22812585833307963, -1.4201788384655294, 0.2682180242316965, 1.6165252108456518,
     0.36768701672554016f, 0.8756370544433594f, 0.9294717311859131f, 6},
    {-2.9647206030457474, -1.4452040162358468, 0.37891476180303363, 4.557673179261359,
     0.9062471389770508f, 0.9958189725875854f, 0.06027405709028244f, 5},
    {2.241737113559373, -2.3442793053987243, 0.27833796197393723, 1.806491547363028,
     0.21289712190628052f, 0.42536699771881104f, 0.15518662333488464f, 6},
};

class Scene : public FreshWorld {};

TEST_F(Scene, SeedFortyTwoGivesTheHandPredictedBodies) {
    randomSeed(42);
    createScene();
    ASSERT_EQ(gravityListCount(&bodies), 5u);
    for (uint32_t i = 0; i < 5; i++) {
        const GravityObject* b = gravityListGet(&bodies, i);
        const ExpectedBody& e = kSeed42[i];
        EXPECT_EQ(b->position.x, e.x) << i;
        EXPECT_EQ(b->position.y, e.y) << i;
        EXPECT_EQ(b->position.z, -3.0) << i;
        EXPECT_EQ(b->radius, e.radius) << i;
        EXPECT_EQ(b->mass, e.mass) << i;
        EXPECT_EQ(b->sprayColor[0], e.red) << i;
        EXPECT_EQ(b->sprayColor[1], e.green) << i;
        EXPECT_EQ(b->sprayColor[2], e.blue) << i;
        EXPECT_EQ(b->sprayColor[3], 1.0f) << i;
        EXPECT_EQ(b->textureIndex, e.textureIndex) << i;
    }
    EXPECT_EQ(centerOfMass.x, -0.5444337717909381);
    EXPECT_EQ(centerOfMass.y, 0.043744014314459165);
    EXPECT_NEAR(centerOfMass.z, -3.0, 1e-15);
}

TEST_F(Scene, EachBodyTakesEightDraws) {
    EXPECT_EQ(countDrawsTaken(77, [] { createScene(); }), 40);
}

TEST_F(Scene, AnyNumberOfBodiesTakesTheSameDrawsInTheSameOrder) {
    for (uint32_t count : {1u, 12u, 20u}) {
        worldReset();
        simSettingsApply(SimSettings{count, 1.0, kMaxParticles});
        EXPECT_EQ(countDrawsTaken(42, [] { createScene(); }), static_cast<int>(8 * count));
        ASSERT_EQ(gravityListCount(&bodies), count);
        for (uint32_t i = 0; i < count && i < 5; i++) {
            const GravityObject* b = gravityListGet(&bodies, i);
            EXPECT_EQ(b->position.x, kSeed42[i].x) << count << " bodies, body " << i;
            EXPECT_EQ(b->radius, kSeed42[i].radius) << count << " bodies, body " << i;
            EXPECT_EQ(b->sprayColor[2], kSeed42[i].blue) << count << " bodies, body " << i;
            EXPECT_EQ(b->textureIndex, kSeed42[i].textureIndex) << count << " bodies, body " << i;
        }
    }
}

TEST_F(Scene, AppearanceTakesFourDraws) {
    GravityObject body;
    EXPECT_EQ(countDrawsTaken(11, [&] { initBodyAppearance(&body); }), 4);
}

TEST_F(Scene, SprayColorIsOpaqueWithRedDrawnFirst) {
    float color[4] = {0, 0, 0, 0};
    EXPECT_EQ(countDrawsTaken(21, [&] { randomSprayColor(color); }), 3);
    EXPECT_EQ(color[3], 1.0f);
    EXPECT_EQ(color[0], static_cast<float>(referenceOutput(21, 0) / 32767.0));
    EXPECT_EQ(color[2], static_cast<float>(referenceOutput(21, 2) / 32767.0));
}

TEST(SceneTextures, IndexCoversTheTableAndNeverPassesIt) {
    EXPECT_EQ(textureIndexFromUniform(0.0), 0);
    EXPECT_EQ(textureIndexFromUniform(32766 / 32767.0), 11);
    EXPECT_EQ(textureIndexFromUniform(1.0), 11); // 12 * 1 would be one past the end
}

TEST_F(Scene, LastDrawOfOneSelectsTheLastPicture) {
    // Find a seed whose eighth output is 32767 and check the body gets cloud2, not index 12.
    uint32_t seed = 0;
    while (referenceOutput(seed, 7) != 32767) {
        seed++;
    }
    randomSeed(seed);
    createScene();
    EXPECT_EQ(gravityListGet(&bodies, 0)->textureIndex, 11);
}

TEST_F(Scene, ContactFlagsStartClear) {
    contactMatrix[2][3] = 1;
    contactMatrix[4][0] = 1;
    randomSeed(8);
    createScene();
    for (uint32_t i = 0; i < 5; i++) {
        for (uint32_t j = 0; j < 5; j++) {
            EXPECT_EQ(contactMatrix[i][j], 0);
        }
    }
}

TEST_F(Scene, SameSeedSameScene) {
    randomSeed(99);
    createScene();
    GravityObject first[5];
    for (uint32_t i = 0; i < 5; i++) {
        first[i] = *gravityListGet(&bodies, i);
    }
    worldReset();
    randomSeed(99);
    createScene();
    for (uint32_t i = 0; i < 5; i++) {
        const GravityObject* again = gravityListGet(&bodies, i);
        EXPECT_EQ(again->position.x, first[i].position.x);
        EXPECT_EQ(again->radius, first[i].radius);
        EXPECT_EQ(again->sprayColor[1], first[i].sprayColor[1]);
    }
}

} // namespace
