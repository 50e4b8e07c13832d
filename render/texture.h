// Pictures as GL objects: a sphere texture, or a display list that draws the background.
#pragma once

#include <cstdint>

#include "render/bmp.h"

// Texture name holding the whole power-of-two picture, or 0 when the picture was not read (the
// reader has already reported why). Leaves the texture bound and GL_MODULATE as the
// environment mode. Needs a current GL context.
uint32_t loadTexture(const char* fileName, ImageRecord* record);
// Display list drawing the whole power-of-two picture at the current raster position; an empty
// list when the picture was not read, so the frame can call it all the same.
uint32_t loadBackground(const char* fileName);
