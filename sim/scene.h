// Creation of the scene: the five bodies, their spray colours and picture choices, the centre
// of mass.
#pragma once

#include "sim/body.h"

// How many pictures a body can wear; textureIndex is always below this.
inline constexpr int kTextureFileCount = 12;

// Builds `bodies` to its capacity, fixes centerOfMass and clears contactMatrix. Each body takes
// eight draws: x, y, an unused third, radius, then red, green, blue, texture index.
void createScene();
// Spray colour and picture choice of one body: draws 5 to 8 of its eight.
void initBodyAppearance(GravityObject* body);
// Alpha 1, then red, green and blue from three draws in that order.
void randomSprayColor(float color[4]);
// Picture index for a uniform draw; u = 1 would fall one past the end and is clamped.
int textureIndexFromUniform(double u);
