// Heap traffic of the simulation, counted by replacing the global allocation functions.
#include <cstdlib>
#include <new>

#include <gtest/gtest.h>

#include "sim/physics.h"
#include "sim/random.h"
#include "sim/scene.h"
#include "sim/spray.h"
#include "sim_test_helpers.h"

namespace {
long allocationCount = 0;
long releaseCount = 0;
} // namespace

void* operator new(std::size_t size) {
    allocationCount++;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    allocationCount++;
    return std::malloc(size == 0 ? 1 : size);
}
namespace {
void releaseCounted(void* p) noexcept {
    if (p != nullptr) {
        releaseCount++;
    }
    std::free(p);
}
} // namespace

void operator delete(void* p) noexcept {
    releaseCounted(p);
}
void operator delete(void* p, std::size_t) noexcept {
    releaseCounted(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    releaseCounted(p);
}

namespace {

class Allocation : public FreshWorld {};

void runFrame(double dt) {
    physicsStep(dt);
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        updateSpray(gravityListGet(&bodies, i), dt);
    }
}

TEST_F(Allocation, SpraysStopAllocatingOnceFull) {
    randomSeed(5);
    createScene();
    const long atStart = allocationCount;
    for (int frame = 0; frame < 100; frame++) {
        runFrame(0.01);
    }
    EXPECT_EQ(allocationCount - atStart, 5 * 100); // one particle per body per frame
    const long whenFull = allocationCount;
    for (int frame = 0; frame < 300; frame++) {
        runFrame(0.01);
    }
    EXPECT_EQ(allocationCount, whenFull);
}

TEST_F(Allocation, FreeBodiesReleasesEveryParticleAndBody) {
    randomSeed(6);
    createScene();
    for (int frame = 0; frame < 40; frame++) {
        runFrame(0.01);
    }
    const long before = releaseCount;
    freeBodies();
    EXPECT_EQ(releaseCount - before, 5 * 40 + 5);
    gravityListInit(&bodies, kBodyCount); // the freed pointers must not be freed again
}

TEST_F(Allocation, FreeBodiesOnAnEmptySceneReleasesNothing) {
    const long before = releaseCount;
    freeBodies();
    EXPECT_EQ(releaseCount, before);
}

} // namespace
