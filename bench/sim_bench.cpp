// Cost of the simulation per frame: the physics step and the spray updates of a seeded scene.
#include <benchmark/benchmark.h>

#include "sim/physics.h"
#include "sim/random.h"
#include "sim/scene.h"
#include "sim/settings.h"
#include "sim/spray.h"
#include "sim/world.h"

namespace {

constexpr double kFrameDt = 0.015;

void createSeededScene(uint32_t bodyCount = kBodyCount) {
    worldReset();
    simSettingsApply(SimSettings{bodyCount, 1.0, kMaxParticles});
    randomSeed(1234);
    createScene();
}

void updateAllSprays(double dt) {
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        updateSpray(gravityListGet(&bodies, i), dt);
    }
}

// Target: under 2 microseconds per step for the five bodies; twenty, with 19 times the pairs, at
// most 20 times that.
void BM_PhysicsStep(benchmark::State& state) {
    createSeededScene(static_cast<uint32_t>(state.range(0)));
    for (auto _ : state) {
        physicsStep(kFrameDt);
        benchmark::ClobberMemory();
    }
    worldReset();
}
BENCHMARK(BM_PhysicsStep)->Arg(kBodyCount)->Arg(kMaxBodies);

// Target: under 10 microseconds per frame for five full sprays of 100 particles.
void BM_FullSpraysUpdate(benchmark::State& state) {
    createSeededScene();
    for (uint32_t frame = 0; frame < kMaxParticles; frame++) {
        updateAllSprays(kFrameDt);
    }
    for (auto _ : state) {
        updateAllSprays(kFrameDt);
        benchmark::ClobberMemory();
    }
    worldReset();
}
BENCHMARK(BM_FullSpraysUpdate);

} // namespace

BENCHMARK_MAIN();
