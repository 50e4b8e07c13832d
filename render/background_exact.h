// A background painted at the drawable's own size, drawn 1:1 in place of the scaled picture.
#pragma once

#include <cstdint>

// rgb: width * height pixels, three bytes each, bottom row first. Copied; the caller keeps it.
void backgroundSetExact(const uint8_t* rgb, int width, int height);
