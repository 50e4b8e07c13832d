// A body's spray as GL points in its spray colour.
#pragma once

#include "sim/body.h"

// One GL_POINTS primitive of the spray's points in world coordinates, lit only by the spray
// colour's emission; restores the matrix and the lighting state, so later spheres are not tinted.
void drawSprayPoints(const GravityObject* body);
