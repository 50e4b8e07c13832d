// The GL half of a body's appearance: its picture as a texture and its sphere, made once.
#pragma once

#include <cstdint>

#include "sim/body.h"

// Makes the sphere (under GL 1.1 a display list) that draws the body's lit, textured sphere centred
// on the origin. It leaves the modelview matrix rotated, so callers enclose it in a push and pop;
// it ends with texturing off. Reads the body's radius and texture.
uint32_t compileSphereList(const GravityObject* body);

// Makes createScene load real textures and compile real sphere lists; needs a current GL
// context whenever a scene is created afterwards.
void installGLAppearance();
