// A body's spray as GL points in its spray colour.
#pragma once

#include "sim/body.h"

// The spray's points in world coordinates: one GL_POINTS primitive lit only by the spray
// colour's emission. Restores the matrix and the lighting state, so later spheres are not tinted.
void drawSprayPoints(const GravityObject* body);
