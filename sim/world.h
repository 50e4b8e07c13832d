// The scene's shared state: the live bodies, the step's snapshot and contact flags, the view
// centre.
#pragma once

#include <cstdint>

#include "math/vertex.h"
#include "sim/body.h"
#include "sim/gravity_list.h"

// The live bodies in creation order; they and their particles are owned through this list.
extern GravityList bodies;
// Entry i is body i as it stood when the current physics step began.
extern GravityObject previousBodies[kMaxBodies];
// Flag [i][j] is 1 while pair (i, j) is known to collide in the current step; 0 between steps.
extern uint8_t contactMatrix[kMaxBodies][kMaxBodies];
// Mass-weighted mean of the bodies' starting positions; fixed once the scene exists.
extern Vertex centerOfMass;

// Releases every body and its particles. The list keeps its count and its now dangling pointers,
// so this is for the very end of the process; use worldReset to start again.
void freeBodies();

// One step of the scene: the physics, then every body's spray, in body order.
void worldStep(double step);

// Frees whatever scene exists and returns every global, the settings included, to its
// program-start state, so that a test or a tool can build a fresh scene.
void worldReset();
