// Pictures as GL objects: a sphere texture, or a background drawn as window pixels.
#pragma once

#include <cstdint>

#include "render/bmp.h"

// Texture name holding the whole power-of-two picture, or 0 when the picture was not read (the
// reader has already reported why). Leaves the texture bound and GL_MODULATE as the
// environment mode. Needs a current GL context.
uint32_t loadTexture(const char* fileName, ImageRecord* record);
// Background drawing the whole power-of-two picture at a given corner (under GL 1.1 a display
// list for the raster position); an empty one when the picture was not read, so the frame can
// draw it all the same. When filling, the picture is also kept scaled (render/background.h).
uint32_t loadBackground(const char* fileName);
