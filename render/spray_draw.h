// A body's spray as GL points in its spray colour.
#pragma once

#include "sim/body.h"

// Emits or recycles one particle, moves them all by dt, and draws them as points in world
// coordinates. Restores the matrix and the lighting state, so later spheres are not tinted.
void updateAndDrawSpray(GravityObject* body, double dt);
// The drawing half alone: one GL_POINTS primitive lit only by the spray colour's emission.
void drawSprayPoints(const GravityObject* body);
