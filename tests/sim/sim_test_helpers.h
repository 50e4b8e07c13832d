// Small helpers shared by the simulation tests: fresh scenes, hand-placed bodies, draw counting.
#pragma once

#include <cstdint>
#include <functional>

#include <gtest/gtest.h>

#include "sim/body.h"
#include "sim/world.h"

// Starts and ends every test with the globals as they are at program start.
class FreshWorld : public ::testing::Test {
  protected:
    void SetUp() override { worldReset(); }
    void TearDown() override { worldReset(); }
};

// A body at rest unless told otherwise, pushed onto `bodies`; the world owns it.
GravityObject* addBody(Vertex position, double radius, double mass, Vector velocity = {});

// The index-th output (0-based) after seeding, worked out independently of the generator.
int referenceOutput(uint32_t seed, int index);

// Seeds the generator, runs op, and tells how many outputs op consumed.
int countDrawsTaken(uint32_t seed, const std::function<void()>& op);

void expectVertexNear(Vertex actual, Vertex expected, double tolerance = 1e-12);
