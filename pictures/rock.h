// Rock pictures for the spheres.
#pragma once

#include "pictures/image.h"

// Pale grey moon rock: dark lowland patches and bright-rimmed craters. 256 x 256.
Image paintRock1();
// Rust-red desert stone in folded bands of ochre and cream. 256 x 128.
Image paintRock3();
// Green serpentine marble with pale veins. 128 x 128.
Image paintRock4();
// Black lava crust split by glowing orange cracks. 256 x 256.
Image paintRock5();
// Rounded river pebbles of mixed colours set in dark sand. 202 x 101: not a power of two, and
// rows of 606 bytes that need 2 bytes of padding.
Image paintRock6();
