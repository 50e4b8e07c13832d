// Creation of the scene: the five bodies, their appearance, the centre of mass.
#pragma once

#include <cstdint>

#include "sim/body.h"

inline constexpr int kTextureFileCount = 12;
extern const char* const kTextureFiles[kTextureFileCount];

// How a body's picture and sphere become GL objects. The renderer installs the real thing; with
// no appearance installed, bodies get texture 0 and display list 0 and no GL is touched, while
// the random draws stay exactly the same.
struct SceneAppearance {
    // Returns the texture name for kTextureFiles[textureIndex], or 0 when it could not be loaded.
    uint32_t (*loadBodyTexture)(int textureIndex) = nullptr;
    // Records the display list that draws the body's sphere; called after texture is set.
    uint32_t (*compileSphereList)(const GravityObject* body) = nullptr;
};
void sceneSetAppearance(const SceneAppearance& appearance);

// Builds `bodies` to its capacity, fixes centerOfMass and clears contactMatrix. Each body takes
// eight draws: x, y, an unused third, radius, then red, green, blue, texture index.
void createScene();
// Spray colour, texture and sphere list of one body: draws 5 to 8 of its eight.
void initBodyAppearance(GravityObject* body);
// Alpha 1, then red, green and blue from three draws in that order.
void randomSprayColor(float color[4]);
// Index into kTextureFiles for a uniform draw; u = 1 would fall one past the end and is clamped.
int textureIndexFromUniform(double u);
